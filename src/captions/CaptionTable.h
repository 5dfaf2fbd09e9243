#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/AsciiCase.h"

// The caption table as text: decoding its bytes, splitting lines and fields, and walking
// the entries of one section. Nothing here touches the registry or a window, so every
// rule is tested on small tables of bytes.
namespace zephtune::captions {

// The table's bytes as text: a UTF-8 or UTF-16 (little or big endian) byte-order mark
// selects that encoding and is dropped; without one the bytes are in `codePage`.
std::wstring DecodeCaptionTable(std::span<const std::uint8_t> bytes, UINT codePage);

// The lines of the table; CR LF, a lone CR and a lone LF each end a line.
std::vector<std::wstring_view> SplitCaptionLines(std::wstring_view text);


// Reads the comma-separated fields of one line, one at a time, so that a line is read
// only as far as a lookup needs it:
// - blanks (codes 1 to 32) around fields and commas are skipped;
// - a field that starts with a double quote runs to the next single double quote, a
//   doubled one inside standing for one double quote character; without a closing quote
//   it runs to the end of the line;
// - any other field runs to the next comma or blank;
// - a new field starts where the previous one ended even without a comma between them;
// - a comma that is the line's last character adds one empty field.
class CaptionFields {
 public:
  explicit CaptionFields(std::wstring_view line) noexcept;

  // The next field, or nothing when the line has no more.
  std::optional<std::wstring> Next();

 private:
  void SkipBlanks() noexcept;
  std::wstring ReadQuoted();
  std::wstring ReadPlain();

  std::wstring_view line_;
  std::size_t position_ = 0;
  bool emptyFieldPending_ = false;
};

// Walks the table's lines in order and calls `entry(key, fields)` for every entry of
// `section` (compared without A-Z case); `fields` stands after the key, so the callback
// reads the text only when it wants it. The walk ends where a line lacks a field that is
// needed: a line of blanks only (no section), a line of the section without a key, or a
// callback that returns false because the text it asked for is missing.
template <typename Entry>
void WalkCaptionSection(std::wstring_view table, std::wstring_view section, Entry&& entry) {
  for (std::wstring_view line : SplitCaptionLines(table)) {
    if (line.empty()) continue;
    CaptionFields fields(line);
    const std::optional<std::wstring> lineSection = fields.Next();
    if (!lineSection) return;
    if (!EqualIgnoringAsciiCase(*lineSection, section)) continue;
    const std::optional<std::wstring> key = fields.Next();
    if (!key) return;
    if (!entry(std::wstring_view(*key), fields)) return;
  }
}

// The text of the last entry with this section and key (both without A-Z case), or the
// empty text when no entry before the walk's end has them.
std::wstring FindCaption(std::wstring_view table, std::wstring_view section, std::wstring_view key);

}  // namespace zephtune::captions
