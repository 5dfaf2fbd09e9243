#include "captions/CaptionTable.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <utility>

namespace zephtune::captions {
namespace {

constexpr wchar_t kQuote = L'"';
constexpr wchar_t kComma = L',';

bool IsBlank(wchar_t c) noexcept { return c >= 1 && c <= 32; }

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) noexcept {
  if (bytes.size() < mark.size()) return false;
  std::size_t i = 0;
  for (std::uint8_t b : mark) {
    if (bytes[i++] != b) return false;
  }
  return true;
}

std::wstring DecodeMultiByte(std::span<const std::uint8_t> bytes, UINT codePage) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
  const char* source = reinterpret_cast<const char*>(bytes.data());
  const int sourceLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, source, sourceLength, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, source, sourceLength, text.data(), length);
  return text;
}

// An odd last byte has no partner and is dropped.
std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned first = bytes[2 * i];
    const unsigned second = bytes[2 * i + 1];
    text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

}  // namespace

std::wstring DecodeCaptionTable(std::span<const std::uint8_t> bytes, UINT codePage) {
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return DecodeMultiByte(bytes.subspan(3), CP_UTF8);
  if (StartsWith(bytes, {0xFF, 0xFE})) return DecodeUtf16(bytes.subspan(2), false);
  if (StartsWith(bytes, {0xFE, 0xFF})) return DecodeUtf16(bytes.subspan(2), true);
  return DecodeMultiByte(bytes, codePage);
}

std::vector<std::wstring_view> SplitCaptionLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

CaptionFields::CaptionFields(std::wstring_view line) noexcept : line_(line) { SkipBlanks(); }

void CaptionFields::SkipBlanks() noexcept {
  while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
}

std::optional<std::wstring> CaptionFields::Next() {
  if (emptyFieldPending_) {
    emptyFieldPending_ = false;
    return std::wstring();
  }
  if (position_ >= line_.size()) return std::nullopt;
  std::wstring field = line_[position_] == kQuote ? ReadQuoted() : ReadPlain();
  SkipBlanks();
  if (position_ < line_.size() && line_[position_] == kComma) {
    // "a," holds two fields, the second empty; "a, " holds only one.
    emptyFieldPending_ = position_ + 1 == line_.size();
    ++position_;
    SkipBlanks();
  }
  return field;
}

std::wstring CaptionFields::ReadQuoted() {
  std::wstring field;
  ++position_;  // the opening quote
  while (position_ < line_.size()) {
    const std::size_t quote = line_.find(kQuote, position_);
    if (quote == std::wstring_view::npos) break;
    field.append(line_.substr(position_, quote - position_));
    position_ = quote + 1;
    if (position_ < line_.size() && line_[position_] == kQuote) {
      field.push_back(kQuote);
      ++position_;
      continue;
    }
    return field;
  }
  // No closing quote: the field keeps the rest of the line, so a table with a typo
  // loses no text.
  field.append(line_.substr(std::min(position_, line_.size())));
  position_ = line_.size();
  return field;
}

std::wstring CaptionFields::ReadPlain() {
  const std::size_t start = position_;
  while (position_ < line_.size() && line_[position_] != kComma && !IsBlank(line_[position_])) ++position_;
  return std::wstring(line_.substr(start, position_ - start));
}

std::wstring FindCaption(std::wstring_view table, std::wstring_view section, std::wstring_view key) {
  std::wstring found;
  WalkCaptionSection(table, section, [&](std::wstring_view entryKey, CaptionFields& fields) {
    if (!EqualIgnoringAsciiCase(entryKey, key)) return true;
    std::optional<std::wstring> text = fields.Next();
    if (!text) return false;
    found = std::move(*text);
    return true;
  });
  return found;
}

}  // namespace zephtune::captions
