#include "app/StatusCommand.h"
#include "common/SimulatedDevices.h"
#include "hid/SimulatedHidBinding.h"
#include "receiver/VirtualReceiver.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>

namespace {

enum class Machine { Receiver, Deaf, Locked, Keyboard, Unbound };

struct StatusRunCase {
  const char *name;
  Machine machine;
  bool json;
  int exit;
  const char *out;
  const char *err; // the start of the one line
};

constexpr const char *NotConnected =
    "{\"vendor\":\"3A7E\",\"product\":\"0A11\",\"connected\":false,\"level\":null,"
    "\"percentage\":null,\"cpi\":null}\n";

TEST(StatusCommand, PrintsOneReadingOrOneLineWhyNotWithTheExitStatus) {
  const StatusRunCase cases[] = {
      {"text", Machine::Receiver, false, 0,
       "3A7E:0A11 connected, battery level 5 (83%), CPI HIGH\n", ""},
      {"json", Machine::Receiver, true, 0,
       "{\"vendor\":\"3A7E\",\"product\":\"0A11\",\"connected\":true,\"level\":5,"
       "\"percentage\":83,\"cpi\":\"HIGH\"}\n",
       ""},
      {"no receiver", Machine::Keyboard, false, 1, "", "quelvane: no supported receiver found"},
      {"no receiver, json", Machine::Keyboard, true, 1,
       "{\"vendor\":null,\"product\":null,\"connected\":false,\"level\":null,"
       "\"percentage\":null,\"cpi\":null}\n",
       "quelvane: no supported receiver"},
      {"no answer", Machine::Deaf, false, 1, "",
       "quelvane: the receiver does not answer: 3A7E:0A11 does not answer the status query"},
      {"no answer, json", Machine::Deaf, true, 1, NotConnected,
       "quelvane: the receiver does not answer"},
      {"no permission", Machine::Locked, false, 1, "",
       "quelvane: no permission to write to the receiver 3A7E:0A11 (sim:rx): install the udev "
       "rule"},
      {"no permission, json", Machine::Locked, true, 1, NotConnected,
       "quelvane: no permission to write"},
      {"no device services", Machine::Unbound, false, 1, "",
       "quelvane: the HID device services are not available"},
  };
  for (const StatusRunCase &c : cases) {
    SCOPED_TRACE(c.name);
    hid::SimulatedHidBinding binding;
    receiver::VirtualReceiverState state;
    state.FailReads = c.machine == Machine::Deaf;
    receiver::VirtualReceiver rx(state);
    const bool keyboard = c.machine == Machine::Keyboard;
    hid::VirtualDevice device =
        fakes::HidInterface("rx", keyboard ? 0x046D : 0x3A7E, 0x0A11, 1, keyboard ? 6 : 2);
    rx.AttachTo(device);
    if (c.machine == Machine::Locked) device.Access = hid::VirtualDevice::Access::QueryOnly;
    binding.Add(device);
    binding.SetBound(c.machine != Machine::Unbound);
    std::ostringstream out, err;
    EXPECT_EQ(app::RunStatusCommand(binding, nullptr, c.json, out, err), c.exit);
    EXPECT_EQ(out.str(), c.out);
    const std::string e = err.str();
    EXPECT_TRUE(e.starts_with(c.err)) << e;
    EXPECT_EQ(std::count(e.begin(), e.end(), '\n'), c.exit == 0 ? 0 : 1) << e;
  }
}

} // namespace
