#include "app/ProcessorMake.h"

#include <gtest/gtest.h>

#include "support/ScratchKey.h"

namespace zephtune {
namespace {

struct NameCase {
  std::wstring_view name;
  int make;
  friend void PrintTo(const NameCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::wstring(c.name)); }
};

class ProcessorNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProcessorNames, GiveTheMake) { EXPECT_EQ(ProcessorMakeFromName(GetParam().name), GetParam().make); }

const NameCase kNameCases[] = {
    {L"Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", kProcessorIntel},
    {L"INTEL PENTIUM 4", kProcessorIntel},
    {L"genuine iNtEl", kProcessorIntel},
    {L"AMD Ryzen 7 3700X 8-Core Processor", kProcessorAmd},
    {L"amd athlon", kProcessorAmd},
    {L"VIA Nano X2 L4350", kProcessorVia},
    {L"Via C7-M", kProcessorVia},
    {L"AMD processor with Intel compatibility", kProcessorIntel},  // "intel" is tested first
    {L"VIA or AMD", kProcessorAmd},
    {L"Qualcomm Snapdragon", kProcessorIntel},
    {L"", kProcessorIntel},
    {L"   ", kProcessorIntel},
    {L"A M D", kProcessorIntel},
};
INSTANTIATE_TEST_SUITE_P(Names, ProcessorNames, ::testing::ValuesIn(kNameCases));

TEST(ProcessorDetection, ReadsTheFirstProcessorsName) {
  const auto raw = testing::QueryRaw(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                                     L"ProcessorNameString", KEY_WOW64_64KEY);
  ASSERT_TRUE(raw.has_value()) << "the test system names its processor";
  const std::wstring name(reinterpret_cast<const wchar_t*>(raw->data.data()), raw->data.size() / 2);
  EXPECT_EQ(DetectProcessorMake(), ProcessorMakeFromName(name.c_str()));
}

}  // namespace
}  // namespace zephtune
