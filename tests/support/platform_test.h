// Runs a test suite against each speech platform: espeak-ng and the fake.
#ifndef QUILLORN_TESTS_SUPPORT_PLATFORM_TEST_H_
#define QUILLORN_TESTS_SUPPORT_PLATFORM_TEST_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "speech/platform/fake_platform.h"
#include "speech/platform/speech_platform.h"

namespace quillorn::testing {

class PlatformTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "fake") {
      fake_ = std::make_unique<FakeSpeechPlatform>();
      previous_ = SetSpeechPlatform(fake_.get());
    }
  }
  void TearDown() override {
    if (fake_) SetSpeechPlatform(previous_);
  }
  bool IsFake() const { return fake_ != nullptr; }

  std::unique_ptr<FakeSpeechPlatform> fake_;
  SpeechPlatform* previous_ = nullptr;
};

inline std::string PlatformName(const ::testing::TestParamInfo<std::string>& info) {
  return info.param;
}

}  // namespace quillorn::testing

#define QUILLORN_ON_EVERY_PLATFORM(suite)                                         \
  INSTANTIATE_TEST_SUITE_P(Platforms, suite, ::testing::Values("espeak", "fake"), \
                           ::quillorn::testing::PlatformName)

#endif  // QUILLORN_TESTS_SUPPORT_PLATFORM_TEST_H_
