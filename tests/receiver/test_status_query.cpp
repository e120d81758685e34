#include "common/SimulatedDevices.h"
#include "common/TestMessageLoop.h"

#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/StatusQuery.h"
#include "receiver/VirtualReceiver.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace receiver::test {
namespace {

struct Interface {
  std::uint16_t product = 0x0A11;
  std::uint16_t usagePage = 1;
  std::uint16_t usage = 2;
  std::uint16_t vendor = 0x3A7E;
  VirtualReceiverState state{};
  bool writable = true;
};

VirtualReceiverState Answers(std::uint8_t battery, std::uint8_t cpi) {
  VirtualReceiverState s;
  s.Battery = battery;
  s.Cpi = cpi;
  return s;
}

struct StatusCase {
  const char *name;
  std::vector<Interface> interfaces;
  std::optional<ReceiverStatus> status;
  StatusFailure failure = StatusFailure::NotFound;
  const char *detail = "";
};

// The machine, the scan and one reading, as `--status` makes it.
StatusReading Read(const std::vector<Interface> &interfaces) {
  TestMessageLoop loop;
  hid::SimulatedHidBinding binding;
  std::vector<std::unique_ptr<VirtualReceiver>> receivers;
  int n = 0;
  for (const Interface &i : interfaces) {
    auto receiver = std::make_unique<VirtualReceiver>(i.state);
    hid::VirtualDevice device =
        fakes::HidInterface("dev" + std::to_string(n++), i.vendor, i.product, i.usagePage, i.usage);
    receiver->AttachTo(device);
    if (!i.writable) device.Access = hid::VirtualDevice::Access::QueryOnly;
    binding.Add(std::move(device));
    receivers.push_back(std::move(receiver));
  }
  hid::TJvHidDeviceController controller(binding, loop);
  loop.processPendingMessages();
  ReceiverConnection connection(loop);
  StatusReading reading = ReadReceiverStatus(controller, connection);
  EXPECT_EQ(connection.CurrentReceiver(), nullptr) << "the connection outlived the reading";
  return reading;
}

TEST(StatusQueryTest, ReadsTheReceiverTheWindowWouldTake) {
  VirtualReceiverState deaf;
  deaf.FailReads = true;
  VirtualReceiverState unacknowledged = Answers(0x14, 10);
  unacknowledged.Ack = false;
  const StatusCase cases[] = {
      {"a full battery, HIGH", {{}}, ReceiverStatus{0x3A7E, 0x0A11, true, 5, 83, true}},
      {"an empty battery, LOW",
       {{.state = Answers(0x10, 9)}},
       ReceiverStatus{0x3A7E, 0x0A11, true, 0, 0, false}},
      {"the high bits of the battery byte are no level",
       {{.state = Answers(0xF6, 255)}},
       ReceiverStatus{0x3A7E, 0x0A11, true, 6, 100, true}},
      {"an answer without acknowledgement still counts, as in the window",
       {{.state = unacknowledged}},
       ReceiverStatus{0x3A7E, 0x0A11, true, 4, 66, true}},
      {"a keyboard collection of an alternative receiver",
       {{.product = 0x0A15, .usage = 6}},
       ReceiverStatus{0x3A7E, 0x0A15, true, 5, 83, true}},
      {"the last candidate wins",
       {{.product = 0x0A11, .state = Answers(0x12, 1)}, {.product = 0x0A12}},
       ReceiverStatus{0x3A7E, 0x0A12, true, 5, 83, true}},
      {"a vendor collection is passed over",
       {{.product = 0x0A11}, {.product = 0x0A12, .usagePage = 0xFF00}},
       ReceiverStatus{0x3A7E, 0x0A11, true, 5, 83, true}},
      {"no devices", {}, std::nullopt, StatusFailure::NotFound},
      {"an unsupported vendor", {{.vendor = 0x1234}}, std::nullopt, StatusFailure::NotFound},
      {"a receiver the user may only look at",
       {{.writable = false}},
       std::nullopt,
       StatusFailure::NoPermission,
       "3A7E:0A11 (sim:dev0)"},
      {"a receiver that cannot be read",
       {{.state = deaf}},
       std::nullopt,
       StatusFailure::NoAnswer,
       "3A7E:0A11 does not answer the status query"},
      {"a level beyond the gauge",
       {{.state = Answers(0x17, 10)}},
       std::nullopt,
       StatusFailure::BadAnswer,
       "3A7E:0A11 answers battery level 7, beyond 6"},
  };
  for (const StatusCase &c : cases) {
    SCOPED_TRACE(c.name);
    const StatusReading reading = Read(c.interfaces);
    EXPECT_EQ(reading.Status, c.status);
    if (!c.status) {
      EXPECT_EQ(reading.Failure, c.failure);
      EXPECT_EQ(reading.Detail, c.detail);
    }
  }
}

TEST(StatusQueryTest, OneLineOfTextOrOneJsonObject) {
  const ReceiverStatus status{0x2C19, 0x0B21, true, 2, 33, false};
  EXPECT_EQ(FormatStatusText(status), "2C19:0B21 connected, battery level 2 (33%), CPI LOW");
  EXPECT_EQ(FormatStatusJson(status), R"({"vendor":"2C19","product":"0B21","connected":true,)"
                                      R"("level":2,"percentage":33,"cpi":"LOW"})");
  StatusReading reading;
  reading.Status = status;
  EXPECT_EQ(FormatStatusJson(reading), FormatStatusJson(status));
}

struct FailedJsonCase {
  StatusFailure failure;
  const char *json;
};

TEST(StatusQueryTest, AReadingThatFailedIsStillOneObjectWithNullReadouts) {
  const FailedJsonCase cases[] = {
      {StatusFailure::NotFound, R"({"vendor":null,"product":null,"connected":false,)"
                                R"("level":null,"percentage":null,"cpi":null})"},
      {StatusFailure::NoPermission, R"({"vendor":"2C19","product":"0B21","connected":false,)"
                                    R"("level":null,"percentage":null,"cpi":null})"},
      {StatusFailure::NoAnswer, R"({"vendor":"2C19","product":"0B21","connected":false,)"
                                R"("level":null,"percentage":null,"cpi":null})"},
      {StatusFailure::BadAnswer, R"({"vendor":"2C19","product":"0B21","connected":true,)"
                                 R"("level":null,"percentage":null,"cpi":null})"},
  };
  for (const FailedJsonCase &c : cases) {
    SCOPED_TRACE(c.json);
    StatusReading reading;
    reading.Failure = c.failure;
    reading.Vendor = 0x2C19;
    reading.Product = 0x0B21;
    EXPECT_EQ(FormatStatusJson(reading), c.json);
  }
}

} // namespace
} // namespace receiver::test
