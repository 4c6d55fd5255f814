#include "engine/fault_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ampelsim {
namespace {

void Put(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4 && offset + i < image.size(); ++i) {
    image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

TEST(FaultStoreImage, DecodesEveryFieldAtItsOffset) {
  std::vector<std::uint8_t> image(180, 0);
  // Slot 1: hostile green between groups 3 and 7 in program 2 at time point 45.
  Put(image, 36, 2);
  Put(image, 40, 2);
  Put(image, 44, 45);
  std::string("15.03.2409:41:27").copy(reinterpret_cast<char*>(image.data() + 48), 16);
  Put(image, 64, 3);
  Put(image, 68, 7);
  Put(image, 144, 0xFFFFFFFEu);  // slot 4: negative values keep their sign
  Put(image, 172, 0x80000000u);

  const FaultStoreRecords store = DecodeFaultStore(image);
  EXPECT_TRUE(store[0].IsEmpty());
  const FaultRecord& fault = store[1];
  EXPECT_EQ(fault.Kind, HostileGreen);
  EXPECT_EQ(fault.Program, 2);
  EXPECT_EQ(fault.TimePoint, 45);
  EXPECT_EQ(FaultText(fault.DateText), "15.03.24");
  EXPECT_EQ(FaultText(fault.TimeText), "09:41:27");
  EXPECT_EQ(fault.FirstGroup, 3);
  EXPECT_EQ(fault.SecondGroup, 7);
  EXPECT_EQ(store[4].Kind, -2);
  EXPECT_EQ(store[4].FirstGroup, INT32_MIN);
}

TEST(FaultStoreImage, ShortImagesReadAsZeroAndLongOnesAreCut) {
  for (const auto& [size, lastKind] : std::vector<std::pair<std::size_t, std::int32_t>>{
           {0, 0}, {100, 0}, {144, 0}, {145, 5}, {180, 5}, {216, 5}}) {
    std::vector<std::uint8_t> image(size, 0);
    for (std::size_t slot = 0; slot < 6; ++slot) {
      Put(image, slot * 36, static_cast<std::uint32_t>(slot + 1));
    }
    EXPECT_EQ(DecodeFaultStore(image)[4].Kind, lastKind) << size;
  }
}

TEST(FaultText, EndsAtTheFirstZeroByte) {
  std::array<std::uint8_t, 8> text{'1', '2', ':', '3', 0, '9', '9', '9'};
  EXPECT_EQ(FaultText(text), "12:3");
  text.fill('x');
  EXPECT_EQ(FaultText(text), "xxxxxxxx");
}

}  // namespace
}  // namespace ampelsim
