// One report record: tab-separated fields on one line, the first naming it.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zub {

// A field with its tab, line break and backslash characters escaped.
std::string ReportField(const std::string& text);

void WriteRecord(std::ostream& out, const std::vector<std::string>& fields);

// Records built straight into one buffer and written a megabyte at a time:
// a million rows cost no string per field and few writes into the pipe.
// Fields are escaped as ReportField does.
class RecordWriter {
 public:
  explicit RecordWriter(std::ostream& out);
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  void Field(std::string_view text);
  // NameText of the exact bytes: A to Z lowered, blanks cut from both ends.
  void NameField(std::string_view exact);
  // Right-aligned in 12, as SizeText writes it.
  void SizeField(std::int64_t size);
  void NumberField(std::uint64_t number);
  // Ends the record's line.
  void End();
  // Writes what is gathered; false when the stream has failed.
  bool Flush();

 private:
  void Separator();
  void Escaped(std::string_view text, bool lower);

  std::ostream& out_;
  std::string buffer_;
  bool first_ = true;
};

}  // namespace zub
