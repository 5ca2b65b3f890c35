#include "app/Report.h"

#include "app/ReportRecord.h"

#include <charconv>
#include <iterator>
#include <string>
#include <vector>

#include "diskview/AllDisks.h"
#include "monitor/DriveSpace.h"
#include "monitor/EscapedText.h"
#include "monitor/FreeRes.h"
#include "monitor/MemoryViews.h"
#include "monitor/MonitorSettings.h"
#include "monitor/NumberText.h"

namespace zub {
namespace {

// The report only looks: loading must not create the key.
class ReadOnlyView : public SettingsFile {
 public:
  explicit ReadOnlyView(SettingsFile& file) : file_(&file) {}
  StoredText Load() override { return file_->Load(); }
  bool Rewrite(const std::function<std::string(const std::string&)>&) override { return false; }
  std::string Location() const override { return file_->Location(); }
  bool Writable() const override { return false; }

 private:
  SettingsFile* file_;
};

}  // namespace

void WriteRecord(std::ostream& out, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    out << (i == 0 ? "" : "\t") << ReportField(fields[i]);
  }
  out << '\n';
}

// Any control byte (a NUL in a settings value, a carriage return) would
// break the one-record-a-line promise.
std::string ReportField(const std::string& text) {
  return EscapedText(text);
}

namespace {
constexpr std::size_t kWriteBlock = std::size_t{1} << 20;
}  // namespace

RecordWriter::RecordWriter(std::ostream& out) : out_(out) {
  buffer_.reserve(kWriteBlock + 4096);
}

RecordWriter::~RecordWriter() {
  Flush();
}

void RecordWriter::Separator() {
  if (!first_) {
    buffer_.push_back('\t');
  }
  first_ = false;
}

namespace {

bool NeedsEscape(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f || c == '\\';
}

char Lowered(char c, bool lower) {
  return lower && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void RecordWriter::Escaped(std::string_view text, bool lower) {
  // Most texts need no escape: copied in one piece until a byte that does.
  const std::size_t at = buffer_.size();
  buffer_.resize(at + text.size());
  char* out = buffer_.data() + at;
  std::size_t plain = 0;
  for (; plain < text.size() && !NeedsEscape(text[plain]); ++plain) {
    out[plain] = Lowered(text[plain], lower);
  }
  if (plain == text.size()) {
    return;
  }
  buffer_.resize(at + plain);
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : text.substr(plain)) {
    const auto byte = static_cast<unsigned char>(c);
    if (!NeedsEscape(c)) {
      buffer_.push_back(Lowered(c, lower));
    } else if (c == '\t') {
      buffer_.append("\\t");
    } else if (c == '\n') {
      buffer_.append("\\n");
    } else if (c == '\\') {
      buffer_.append("\\\\");
    } else {
      const char hex[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
      buffer_.append(hex, sizeof hex);
    }
  }
}

void RecordWriter::Field(std::string_view text) {
  Separator();
  Escaped(text, false);
}

void RecordWriter::NameField(std::string_view exact) {
  Separator();
  std::size_t begin = 0;
  std::size_t end = exact.size();
  while (begin < end && static_cast<unsigned char>(exact[begin]) <= 32) {
    ++begin;
  }
  while (end > begin && static_cast<unsigned char>(exact[end - 1]) <= 32) {
    --end;
  }
  Escaped(exact.substr(begin, end - begin), true);
}

void RecordWriter::SizeField(std::int64_t size) {
  Separator();
  char digits[24];
  const auto result = std::to_chars(std::begin(digits), std::end(digits), size);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  if (length < 12) {
    buffer_.append(12 - length, ' ');
  }
  buffer_.append(digits, length);
}

void RecordWriter::NumberField(std::uint64_t number) {
  Separator();
  char digits[24];
  const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
  buffer_.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

void RecordWriter::End() {
  buffer_.push_back('\n');
  first_ = true;
  if (buffer_.size() >= kWriteBlock) {
    Flush();
  }
}

bool RecordWriter::Flush() {
  if (!buffer_.empty()) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
  return static_cast<bool>(out_);
}

int WriteReport(const ReportSources& sources, std::ostream& out, std::ostream& err) {
  int status = 0;
  const DriveQueries queries(sources.drives, sources.disk);

  for (const DriveInfo& drive : sources.drives.Drives()) {
    const int n = DriveNumber(drive.letter);
    WriteRecord(
        out,
        {"drive", std::string(1, drive.letter), drive.mountPoint,
         queries.DriveTypeText(drive.letter), std::to_string(queries.DriveFreeBytes(n)),
         std::to_string(queries.DriveTotalBytes(n)), std::to_string(queries.RoundedFreePercent(n)),
         queries.FormatDriveSpace(n, SizeUnit::Mb).text,
         queries.FormatDriveSpace(n, SizeUnit::Kb).text,
         queries.FormatDriveSpace(n, SizeUnit::Bytes).text});
  }

  // The All Disks window: its caption, then one record per shown pie.
  const AllDisksView allDisks = BuildAllDisks(queries);
  WriteRecord(out, {"alldisks", allDisks.caption});
  for (const AllDisksPie& pie : allDisks.pies) {
    WriteRecord(out, {"pie", std::to_string(pie.pie), std::string(1, pie.letter),
                      std::to_string(pie.percent), pie.hint});
  }

  const MemoryMeter meter(sources.memory, sources.resources);
  for (const MemoryView view : kAllMemoryViews) {
    try {
      const MemoryMeasurement m = meter.Measure(view);
      WriteRecord(out, {"memory", MemoryViewCaption(view), std::to_string(m.freePercent), m.text});
    } catch (const std::runtime_error& e) {
      err << "zub97-report: " << MemoryViewCaption(view) << ": " << e.what() << '\n';
      status = 1;
    }
  }

  try {
    WriteRecord(out, {"title", meter.TitleSummary()});
  } catch (const std::runtime_error& e) {
    err << "zub97-report: title: " << e.what() << '\n';
    status = 1;
  }

  ReadOnlyView settingsView(sources.settings);
  if (sources.settings.Load().state == StoredText::State::Unreadable) {
    err << "zub97-report: cannot read " << sources.settings.Location() << '\n';
    status = 1;
  }
  std::vector<std::string> fields = {"settings", sources.settings.Location()};
  for (const auto& [name, value] : MonitorSettingsFields(LoadMonitorSettings(settingsView))) {
    fields.push_back(name + "=" + value);
  }
  WriteRecord(out, fields);
  return status;
}

}  // namespace zub
