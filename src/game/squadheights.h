// The rows at which the squad of UFOs starts, by landscape x mod 578. The
// game places the squad by it; the landscape review view draws the squad
// from it too. The near hills' crest lies below these rows, so the squad
// starts in view and rises.
#pragma once

#include <array>
#include <cstddef>

constexpr int kSquadPeriod = 578;

struct SquadHeightRun {
    int row;    // screen row of a squad UFO's top edge
    int count;  // landscape columns in a row that share it
};

inline constexpr SquadHeightRun kSquadHeightRuns[] = {
    {271, 2},  {272, 4},  {273, 5},  {274, 5},  {275, 4}, {276, 4},  {277, 6},  {278, 4},
    {279, 5},  {280, 4},  {281, 6},  {282, 4},  {283, 2}, {284, 4},  {285, 5},  {286, 6},
    {287, 5},  {288, 3},  {289, 4},  {290, 5},  {291, 7}, {292, 6},  {293, 10}, {292, 11},
    {293, 62}, {294, 10}, {293, 5},  {292, 6},  {291, 5}, {290, 5},  {289, 4},  {288, 3},
    {287, 2},  {286, 5},  {285, 4},  {284, 2},  {283, 3}, {282, 2},  {281, 5},  {280, 5},
    {279, 4},  {278, 2},  {277, 2},  {276, 1},  {275, 6}, {274, 3},  {273, 4},  {272, 3},
    {271, 2},  {270, 5},  {269, 4},  {268, 2},  {267, 3}, {266, 4},  {265, 2},  {264, 5},
    {263, 3},  {262, 6},  {261, 3},  {260, 2},  {259, 5}, {258, 3},  {257, 2},  {256, 6},
    {255, 2},  {254, 3},  {253, 4},  {252, 3},  {251, 2}, {250, 5},  {249, 4},  {248, 7},
    {247, 5},  {246, 4},  {245, 1},  {244, 4},  {243, 5}, {242, 13}, {241, 5},  {240, 6},
    {239, 13}, {238, 14}, {237, 13}, {238, 10}, {239, 9}, {240, 5},  {241, 7},  {242, 7},
    {243, 5},  {244, 6},  {245, 3},  {246, 2},  {247, 4}, {248, 5},  {249, 3},  {250, 4},
    {251, 2},  {252, 3},  {253, 6},  {254, 3},  {255, 2}, {256, 3},  {257, 3},  {258, 2},
    {259, 4},  {260, 3},  {261, 2},  {262, 4},  {263, 3}, {264, 2},  {265, 2},  {266, 4},
    {267, 5},  {268, 3},  {269, 2},  {270, 4},  {271, 2},
};

constexpr std::array<int, kSquadPeriod> ExpandSquadHeights() {
    std::array<int, kSquadPeriod> rows{};
    std::size_t i = 0;
    for (const SquadHeightRun& run : kSquadHeightRuns) {
        for (int k = 0; k < run.count && i < rows.size(); ++k) {
            rows[i++] = run.row;
        }
    }
    return rows;
}

constexpr int SquadHeightRunsLength() {
    int n = 0;
    for (const SquadHeightRun& run : kSquadHeightRuns)
        n += run.count;
    return n;
}
static_assert(SquadHeightRunsLength() == kSquadPeriod, "the hill line covers one period");

inline constexpr std::array<int, kSquadPeriod> kSquadStartHeights = ExpandSquadHeights();
