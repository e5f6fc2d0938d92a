// Writes every registered member of this family as a BMP into the folder
// given on the command line.
#include <cstdio>
#include <set>

#include "registry.h"

namespace art {
std::vector<Member>& Members() {
    static std::vector<Member> members;
    return members;
}
}  // namespace art

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::set<std::string> seen;
    for (const art::Member& m : art::Members()) {
        if (!seen.insert(m.name).second) {
            std::fprintf(stderr, "artgen: member %s registered twice\n", m.name.c_str());
            return 1;
        }
        art::Canvas c = m.paint();
        std::string path = std::string(argv[1]) + "/" + m.name;
        if (!c.SaveBmp(path)) {
            std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
