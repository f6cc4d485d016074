#include "text/codepage.h"

#include <unicode/ucnv.h>

#include <memory>

namespace quillorn {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* name, const char* substitute) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name, &status));
  if (U_SUCCESS(status) && substitute != nullptr) {
    ucnv_setSubstChars(converter.get(), substitute, 1, &status);
  }
  return U_SUCCESS(status) ? std::move(converter) : ConverterPtr();
}

// ICU converters keep state and must not be shared between threads, so each thread opens its
// own once and resets it before every use.
UConverter* Gbk() {
  thread_local ConverterPtr converter = OpenConverter("windows-936-2000", "?");
  if (converter) ucnv_reset(converter.get());
  return converter.get();
}

UConverter* Utf8() {
  thread_local ConverterPtr converter = OpenConverter("UTF-8", nullptr);
  if (converter) ucnv_reset(converter.get());
  return converter.get();
}

// Decodes all of `bytes` into `out`, which holds bytes.size() code units: neither table gives
// more than one code unit per byte.
std::size_t Decode(UConverter* converter, std::string_view bytes, char16_t* out) {
  if (converter == nullptr || bytes.empty()) return 0;
  const char* source = bytes.data();
  UChar* begin = reinterpret_cast<UChar*>(out);
  UChar* target = begin;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(converter, &target, begin + bytes.size(), &source, bytes.data() + bytes.size(),
                 nullptr, true, &status);
  return U_FAILURE(status) ? 0 : static_cast<std::size_t>(target - begin);
}

// Encodes all of `units` into `out`, which holds `capacity` bytes.
std::size_t Encode(UConverter* converter, std::u16string_view units, char* out,
                   std::size_t capacity) {
  if (converter == nullptr || units.empty()) return 0;
  const UChar* source = reinterpret_cast<const UChar*>(units.data());
  char* target = out;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(converter, &target, out + capacity, &source, source + units.size(), nullptr,
                   true, &status);
  return U_FAILURE(status) ? 0 : static_cast<std::size_t>(target - out);
}

std::u16string DecodeToString(UConverter* converter, std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  out.resize(Decode(converter, bytes, out.data()));
  return out;
}

std::string EncodeToString(UConverter* converter, std::u16string_view units,
                           std::size_t maxBytesPerUnit) {
  std::string out(units.size() * maxBytesPerUnit, '\0');
  out.resize(Encode(converter, units, out.data(), out.size()));
  return out;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) { return DecodeToString(Gbk(), gbk); }

Text Utf16ToGbk(std::u16string_view utf16) {
  return EncodeToString(Gbk(), utf16.substr(0, utf16.find(u'\0')), 2);
}

std::size_t GbkToUtf16(std::string_view gbk, char16_t* out) { return Decode(Gbk(), gbk, out); }

std::size_t Utf16ToGbk(std::u16string_view utf16, char* out) {
  return Encode(Gbk(), utf16, out, utf16.size() * 2);
}

Text Utf8ToGbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

std::u16string Utf8ToUtf16(std::string_view utf8) { return DecodeToString(Utf8(), utf8); }

std::string Utf16ToUtf8(std::u16string_view utf16) { return EncodeToString(Utf8(), utf16, 3); }

}  // namespace quillorn
