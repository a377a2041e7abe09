// Shared helpers of the jconvert tests: the system iconv as a reference, and the sample text.
#pragma once

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorn::testing {

// The system converter, used to produce text in each code independently of the code under test.
inline std::string Iconv(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(in.size() * 4 + 16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // closes an open shift state
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv failed");
  out.resize(out.size() - outLeft);
  return out;
}

inline std::string ReadTestFile(const std::string& name) {
  std::ifstream f(std::string(VORN_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  if (!f) throw std::runtime_error("missing test data " + name);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// Japanese prose with kanji, kana, full-width and ASCII characters and CR LF line breaks, in
// characters that JIS X 0208, EUC-JP and code page 932 all hold.
inline const std::string& SampleSjis() {
  static const std::string text = ReadTestFile("jconvert/sample.sjis");
  return text;
}

}  // namespace vorn::testing
