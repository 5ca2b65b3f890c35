// One report record: tab-separated fields on one line, the first naming it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zub {

// A field with its tab, line break and backslash characters escaped.
std::string ReportField(const std::string& text);

void WriteRecord(std::ostream& out, const std::vector<std::string>& fields);

}  // namespace zub
