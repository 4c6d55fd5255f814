#pragma once

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "verify/finding.h"

namespace ampelsim::verification {

// The findings of one verification.
class FindingList {
 public:
  // Each finding once: the same sentence may come from several stretches.
  void Add(Finding finding);

  // By program, then by second, then Fehler before Warnung before Hinweis;
  // equal ones in the order they were added.
  std::vector<Finding> Sorted() &&;

 private:
  std::vector<Finding> findings_;
  std::set<std::tuple<int, int, int, std::string>> seen_;
};

}  // namespace ampelsim::verification
