#include "verify/finding_list.h"

#include <algorithm>
#include <utility>

namespace ampelsim::verification {

void FindingList::Add(Finding finding) {
  if (seen_
          .insert({static_cast<int>(finding.Level), static_cast<int>(finding.Where),
                   finding.Program, finding.Text})
          .second) {
    findings_.push_back(std::move(finding));
  }
}

std::vector<Finding> FindingList::Sorted() && {
  std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.Program, a.Second, a.Level) < std::tie(b.Program, b.Second, b.Level);
  });
  return std::move(findings_);
}

}  // namespace ampelsim::verification
