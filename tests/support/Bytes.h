// Test helpers: byte strings shown readably, exact-bytes assertions, and where ../shared lies.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace testsupport {

// The bytes with CR, LF, TAB and other control bytes as \r \n \t \xNN, and every byte from
// 0x80 up (code page 1251 text) as \'hh, so a failure shows exactly what differs.
std::string Readable(const std::string& bytes);

// Compares two byte strings exactly and, on failure, shows both readably and the first
// position at which they differ.
::testing::AssertionResult BytesEqual(const char* expectedExpr, const char* actualExpr,
                                      const std::string& expected, const std::string& actual);

// The shared folder beside the project (corpus, samples), or nothing when it is absent.
std::optional<std::string> SharedDir();

// The whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFile(const std::string& path);

// UTF-8 text (a u8"" literal: plain literals are already code page 1251 here) as code page
// 1251 bytes, through iconv.
std::string Cp1251(const std::string& utf8);

}  // namespace testsupport

#define EXPECT_BYTES_EQ(expected, actual) \
  EXPECT_PRED_FORMAT2(::testsupport::BytesEqual, std::string(expected), std::string(actual))
#define ASSERT_BYTES_EQ(expected, actual) \
  ASSERT_PRED_FORMAT2(::testsupport::BytesEqual, std::string(expected), std::string(actual))

// Skips the current test when ../shared is absent; otherwise binds `var` to its path.
#define REQUIRE_SHARED_DIR(var)                                       \
  auto var##_opt = ::testsupport::SharedDir();                        \
  if (!var##_opt) GTEST_SKIP() << "../shared is absent: skipped";     \
  const std::string var = *var##_opt
