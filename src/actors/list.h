// The intrusive doubly linked list behind every family of short-lived
// actors (pop-ups, bubbles, walkers, shooters). A record type only needs two
// members, `T* next` (newer, null at the tail) and `T* prev` (older, null at
// the head); the family keeps one List<T> as a global, whose head and tail
// are the family's head and tail pointers.
//
//     struct Walker { ...; Walker* next; Walker* prev; };
//     List<Walker> walkerList;
//     walkerList.Append(w);
//     walkerList.Walk([](Walker* w) { if (!UpdateWalker(w)) FreeWalker(w); });
//
// The list never allocates or frees: records belong to their family, whose
// Free operation calls Unlink before deleting the record.
#pragma once

template <typename T>
struct List {
    T* head = nullptr;  // oldest record
    T* tail = nullptr;  // newest record

    bool Empty() const { return head == nullptr; }

    // New records go to the tail, so a walk meets them oldest first.
    void Append(T* rec) {
        rec->next = nullptr;
        rec->prev = tail;
        if (tail)
            tail->next = rec;
        else
            head = rec;
        tail = rec;
    }

    // Takes the record out, fixing the head or the tail when it is at an end.
    // The record's own links are cleared so a stale walk cannot follow them.
    void Unlink(T* rec) {
        if (rec->prev)
            rec->prev->next = rec->next;
        else
            head = rec->next;
        if (rec->next)
            rec->next->prev = rec->prev;
        else
            tail = rec->prev;
        rec->next = nullptr;
        rec->prev = nullptr;
    }

    // Visits every record from the head. The successor is taken before the
    // visit, so the visit may unlink and free the record it was given (but
    // no other). Records appended during the walk behind a visited tail are
    // first met by the next walk.
    template <typename Visit>
    void Walk(Visit visit) {
        T* rec = head;
        while (rec) {
            T* next = rec->next;
            visit(rec);
            rec = next;
        }
    }

    // Number of records; for tests and checks, the game never needs it.
    int Count() const {
        int n = 0;
        for (T* rec = head; rec; rec = rec->next)
            ++n;
        return n;
    }

    // Frees the head until the list is empty, with the family's own Free
    // (which must unlink), then leaves both ends null.
    template <typename Free>
    void FreeAll(Free free) {
        while (head)
            free(head);
        head = nullptr;
        tail = nullptr;
    }
};
