#pragma once

#include <string>
#include <vector>

#include "zrpar/Params.h"

namespace host {

// The names leading from a section's root to one setting.
using SettingPath = std::vector<std::wstring>;

struct MergeResult {
    ZRSTD::CAutoPtr<ZRPAR::Params> merged;  // null when there are conflicts
    std::vector<SettingPath> conflicts;     // the settings both sides changed differently
};

// Merges two edits of one section made from the same base, setting by
// setting, through nested containers. For each name: unchanged in ours takes
// theirs (a deletion too), unchanged in theirs takes ours, the same change on
// both sides is taken once, two containers are merged in turn; anything else
// (arrays and other values compare whole) is a conflict. Names keep theirs'
// order, names new in ours follow. The result shares nothing with its inputs.
MergeResult MergeSections(const ZRPAR::Params& base, const ZRPAR::Params& theirs, const ZRPAR::Params& ours);

// A path as an administrator reads it: without the policy form's "ZRPRSS_Val"
// hops, a lock flag "ZRPRSS_Mnd" as "(lock)", e.g. "Nagentports (lock)".
std::wstring DescribeSettingPath(const SettingPath& path);

}  // namespace host
