#include "app/DeviceTreeWatcher.h"
#include "app/ListCommand.h"
#include "common/SimulatedDevices.h"
#include "framework/QtMessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <utility>

namespace {

using hid::VirtualDevice;

VirtualDevice MakeDevice(const std::string &id, std::uint16_t vid, std::uint16_t pid,
                         std::u16string name) {
  VirtualDevice d = fakes::HidInterface(id, vid, pid, 0xFF00, 1);
  d.ProductName = std::move(name);
  d.Caps.InputReportByteLength = 8;
  d.Caps.OutputReportByteLength = 2;
  return d;
}

class ListCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    binding.Add(MakeDevice("rx", 0x3A7E, 0x0A16, u"2.4G Receiver"));
    auto query = MakeDevice("kbd", 0x046D, 0xC31C, u"Keys \"Pro\"\\\n\tÜ\U0001F5B1");
    query.Access = VirtualDevice::Access::QueryOnly;
    binding.Add(query);
    auto closed = MakeDevice("x", 0x2C19, 0x0B21, u"");
    closed.Access = VirtualDevice::Access::None;
    binding.Add(closed);
  }

  std::vector<app::InterfaceListing> Collect() {
    framework::QtMessageLoop loop;
    hid::TJvHidDeviceController controller(binding, loop);
    controller.DeviceChange();
    auto listing = app::CollectInterfaces(controller);
    EXPECT_EQ(controller.HeldCount(), 0); // everything was checked in again
    EXPECT_EQ(controller.FreeCount(), 3);
    return listing;
  }

  hid::SimulatedHidBinding binding;
};

TEST_F(ListCommandTest, InterfaceWithoutCapsStillShowsThatItOpens) {
  binding.Find("kbd")->FailPreparsed = true;
  const auto listing = Collect();
  ASSERT_EQ(listing.size(), 3u);
  EXPECT_EQ(listing[1].Access, "query");
  EXPECT_EQ(listing[1].VendorID, 0x046D);
  EXPECT_EQ(listing[1].UsagePage, 0);
  EXPECT_EQ(listing[2].Access, "none");
}

// Every field the collection gathers shows in the text rows.
TEST_F(ListCommandTest, TextListingIsOneTabSeparatedLinePerInterface) {
  const std::string text = app::FormatListingText(Collect());
  std::istringstream lines(text);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);)
    rows.push_back(line);
  ASSERT_EQ(rows.size(), 3u); // the name's line break did not split the row
  EXPECT_EQ(rows[0], "sim:rx\t3A7E:0A16\tFF00:0001\t8/2/9\t2.4G Receiver\trw\tsupported");
  EXPECT_EQ(rows[1], "sim:kbd\t046D:C31C\tFF00:0001\t8/2/9\tKeys \"Pro\"\\  Ü\xF0\x9F\x96\xB1\t"
                     "query\tunsupported");
  EXPECT_EQ(rows[2], "sim:x\t0000:0000\t0000:0000\t0/0/0\t\tnone\tunsupported");
  EXPECT_EQ(app::FormatListingText({}), "");
}

TEST_F(ListCommandTest, JsonListingParsesBackWithEveryField) {
  const std::string json = app::FormatListingJson(Collect());
  EXPECT_EQ(json.find('\n'), std::string::npos);
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json;
  const QJsonArray array = document.array();
  ASSERT_EQ(array.size(), 3);
  const QJsonObject rx = array[0].toObject();
  EXPECT_EQ(rx.keys().size(), 11);
  EXPECT_EQ(rx["path"].toString(), "sim:rx");
  EXPECT_EQ(rx["vendor"].toString(), "3A7E");
  EXPECT_EQ(rx["product"].toString(), "0A16");
  EXPECT_EQ(rx["usage_page"].toInt(), 0xFF00);
  EXPECT_EQ(rx["usage"].toInt(), 1);
  EXPECT_EQ(rx["input_length"].toInt(), 8);
  EXPECT_EQ(rx["output_length"].toInt(), 2);
  EXPECT_EQ(rx["feature_length"].toInt(), 9);
  EXPECT_EQ(rx["access"].toString(), "rw");
  EXPECT_TRUE(rx["supported"].toBool());
  EXPECT_EQ(array[1].toObject()["product_name"].toString(),
            QString::fromUtf16(u"Keys \"Pro\"\\\n\tÜ\U0001F5B1"));
  EXPECT_FALSE(array[2].toObject()["supported"].toBool());
  EXPECT_EQ(array[2].toObject()["vendor"].toString(), "0000") << "always four digits";
  EXPECT_EQ(app::FormatListingJson({}), "[]");
}

TEST_F(ListCommandTest, RunPrintsOnceAndEndsWithoutWatch) {
  for (const bool json : {false, true}) {
    std::ostringstream out, err;
    EXPECT_EQ(app::RunListCommand(binding, nullptr, {false, json}, out, err), 0);
    const std::string printed = out.str();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), json ? 1 : 3);
    EXPECT_TRUE(printed.starts_with(json ? "[{\"path\":\"sim:rx\"" : "sim:rx\t")) << printed;
    EXPECT_EQ(err.str(), "");
  }
  // Standard output that takes nothing (a full disk) is a failure, and said.
  std::ostringstream full, err;
  full.setstate(std::ios::badbit);
  EXPECT_EQ(app::RunListCommand(binding, nullptr, {false, false}, full, err), 1);
  EXPECT_EQ(err.str(), "quelvane: cannot write to standard output\n");
}

TEST_F(ListCommandTest, WatchPrintsAgainAfterEveryChange) {
  std::ostringstream out, err;
  QTimer::singleShot(20, [&] { binding.Unplug("kbd"); });
  QTimer::singleShot(40, [&] {
    binding.Unplug("x");
    binding.Plug("x");
  });
  QTimer::singleShot(150, [] { QCoreApplication::exit(0); });
  EXPECT_EQ(app::RunListCommand(binding, nullptr, {true, true}, out, err), 0);
  std::istringstream lines(out.str());
  std::vector<std::string> listings;
  for (std::string line; std::getline(lines, line);)
    listings.push_back(line);
  ASSERT_EQ(listings.size(), 3u);
  EXPECT_NE(listings[0].find("sim:kbd"), std::string::npos);
  EXPECT_EQ(listings[1].find("sim:kbd"), std::string::npos);
  EXPECT_NE(listings[2].find("sim:x"), std::string::npos);
}

#ifndef _WIN32
// Where the listing goes: the pipe behind standard output loses its reader once the first
// listing is read, or else standard output refuses every write (a full disk).
struct GoneOutputCase {
  const char *name;
  bool readerLeaves;
};

TEST_F(ListCommandTest, AWatchEndsWithAMessageOnceItsOutputIsGone) {
  const GoneOutputCase cases[] = {
      {"nothing can be written", false},
      {"the pipe's reader left", true},
  };
  for (const GoneOutputCase &c : cases) {
    SCOPED_TRACE(c.name);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    std::ostringstream out, err;
    if (!c.readerLeaves) out.setstate(std::ios::badbit);
    QTimer leave, guard;
    leave.setSingleShot(true);
    QObject::connect(&leave, &QTimer::timeout, [&] { ::close(std::exchange(pipeFds[0], -1)); });
    if (c.readerLeaves) leave.start(20);
    bool stillWatching = false;
    QObject::connect(&guard, &QTimer::timeout, [&] {
      stillWatching = true;
      QCoreApplication::exit(0);
    });
    guard.start(3000);
    EXPECT_EQ(app::RunListCommand(binding, nullptr, {true, false, pipeFds[1]}, out, err), 1);
    EXPECT_FALSE(stillWatching);
    EXPECT_EQ(err.str(), "quelvane: cannot write to standard output\n");
    for (const int fd : pipeFds)
      if (fd >= 0) ::close(fd);
  }
}
#endif

TEST(ListCommand, AnEmptyMachineIsSaidOnStandardErrorBesideTheEmptyListing) {
  const struct {
    bool json;
    const char *out;
  } cases[] = {{false, ""}, {true, "[]\n"}};
  for (const auto &c : cases) {
    hid::SimulatedHidBinding empty;
    std::ostringstream out, err;
    EXPECT_EQ(app::RunListCommand(empty, nullptr, {false, c.json}, out, err), 0);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), "quelvane: no HID interfaces found\n");
  }
}

TEST_F(ListCommandTest, UnavailableServicesAreAnError) {
  std::ostringstream out, err;
  binding.SetEnumerationFails(true);
  EXPECT_NE(app::RunListCommand(binding, nullptr, {}, out, err), 0);
  EXPECT_FALSE(err.str().empty());
  binding.SetEnumerationFails(false);
  binding.SetBound(false);
  EXPECT_NE(app::RunListCommand(binding, nullptr, {}, out, err), 0);
  EXPECT_TRUE(out.str().empty());
}

#ifndef _WIN32
// A binding whose device-tree events arrive on a pipe, as the udev monitor's do.
class PipeBinding final : public hid::HidBinding {
public:
  PipeBinding() { EXPECT_EQ(::pipe(m_pipe), 0); }
  ~PipeBinding() override {
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
  }
  bool Bound() const override { return true; }
  std::optional<std::vector<hid::InterfaceRecord>> Enumerate() override { return {}; }
  std::unique_ptr<hid::HidHandle> Open(const std::string &, hid::OpenMode,
                                       std::uint32_t &) override {
    return nullptr;
  }
  int DeviceTreeEventFd() const override { return m_pipe[0]; }
  void DeviceTreeEventReady() override {
    char byte = 0;
    if (::read(m_pipe[0], &byte, 1) == 1) ++Events;
  }
  void Signal() { EXPECT_EQ(::write(m_pipe[1], "x", 1), 1); }
  int Events = 0;

private:
  int m_pipe[2] = {-1, -1};
};

TEST(DeviceTreeWatcher, HandsReadableEventsToTheBinding) {
  PipeBinding binding;
  app::DeviceTreeWatcher watcher(binding);
  EXPECT_TRUE(watcher.Watching());
  QCoreApplication::processEvents();
  EXPECT_EQ(binding.Events, 0);
  binding.Signal();
  for (int i = 0; i < 100 && binding.Events == 0; ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(binding.Events, 1);

  hid::SimulatedHidBinding simulated; // notifies by itself: nothing to watch
  EXPECT_FALSE(app::DeviceTreeWatcher(simulated).Watching());
}

#endif
} // namespace
