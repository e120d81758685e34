// A receiver on the real kernel for the real program: plugs in through /dev/uhid, answers the
// command report (status, battery, CPI, pairing query, acknowledged in byte 7) except for a run
// of battery reads it answers without bytes, and after answering the CPI query twice vanishes in
// the middle of the next query. Exits 0 once it has vanished, 1 when something failed or nobody
// asked within the time limit.
#include "uhid/UhidDevice.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// What the program should show: battery 5 of 6, CPI HIGH.
constexpr std::uint8_t BatteryLevel = 5;
constexpr std::uint8_t Cpi = 12;
constexpr int CpiAnswersBeforeVanishing = 2;
// Battery reads 2 to 6 (a whole acknowledged query after the first read) get no bytes.
constexpr int FirstEmptyBatteryAnswer = 2;
constexpr int LastEmptyBatteryAnswer = 6;
constexpr auto TimeLimit = std::chrono::seconds(120);

std::uint8_t AnswerByte(std::uint8_t code, std::uint8_t subCode, std::size_t index) {
  switch (code) {
  case 9: // status: the pairing state
    return index == 1 ? 0x12 : index == 2 ? 0x34 : 0;
  case 10:
    return index == 1 ? BatteryLevel : 0;
  case 11:
    return index == 1 ? Cpi : 0;
  case 3: // query; sub-code 14 answers in bytes 0 and 1
    return subCode == 14 && index == 1 ? 0x40 : 0;
  default:
    return 0;
  }
}

} // namespace

int main() {
  const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (fd < 0 || !uhidvm::Create(fd)) {
    std::perror("uhid_receiver: create");
    return 1;
  }
  std::uint8_t request[uhidvm::CommandLength] = {};
  int cpiAnswers = 0;
  int batteryReads = 0;
  const auto end = std::chrono::steady_clock::now() + TimeLimit;
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    uhid_event ev{};
    if (::read(fd, &ev, sizeof ev) <= 0) continue;
    if (ev.type == UHID_SET_REPORT) {
      const bool command = ev.u.set_report.rnum == uhidvm::CommandId;
      if (command)
        std::memcpy(request, ev.u.set_report.data,
                    std::min<std::size_t>(ev.u.set_report.size, sizeof request));
      if (!uhidvm::ReplySet(fd, ev.u.set_report.id, command ? 0 : EIO)) break;
    } else if (ev.type == UHID_GET_REPORT) {
      if (ev.u.get_report.rnum != uhidvm::CommandId) {
        if (!uhidvm::ReplyGet(fd, ev.u.get_report.id, nullptr, 0, EIO)) break;
        continue;
      }
      if (cpiAnswers >= CpiAnswersBeforeVanishing) {
        std::printf("uhid_receiver: vanishing during command %u\n", request[1]);
        const bool gone = uhidvm::Destroy(fd);
        ::close(fd);
        return gone ? 0 : 1;
      }
      if (request[1] == 10 && ++batteryReads >= FirstEmptyBatteryAnswer &&
          batteryReads <= LastEmptyBatteryAnswer) {
        if (!uhidvm::ReplyGet(fd, ev.u.get_report.id, nullptr, 0)) break;
        continue;
      }
      std::uint8_t answer[uhidvm::CommandLength] = {uhidvm::CommandId};
      for (std::size_t i = 1; i < sizeof answer; ++i)
        answer[i] = AnswerByte(request[1], request[2], i);
      answer[7] = 0xCC;
      if (request[1] == 11) ++cpiAnswers;
      if (!uhidvm::ReplyGet(fd, ev.u.get_report.id, answer, sizeof answer)) break;
    }
  }
  std::printf("uhid_receiver: %s after %d CPI answers\n",
              std::chrono::steady_clock::now() < end ? "uhid write failed" : "time limit",
              cpiAnswers);
  ::close(fd);
  return 1;
}
