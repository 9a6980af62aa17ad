#pragma once
// A DDNS service on 127.0.0.1: answers a request for a known DVR name with the DVR's address and
// port, anything else with a reply the client must refuse. Logs every name asked for.
#include <mutex>
#include <string>
#include <vector>

#include "platform/socket.h"
#include "platform/worker_thread.h"

namespace dvr::sim {

struct DdnsSimOptions {
  uint16_t port = 0;           // 0: any free port
  std::string name;            // the DVR's name
  uint32_t dvr_address = 0x7F000001;  // host order
  uint16_t dvr_port = 0;
  bool wrong_magic = false;    // answer with another magic
};

class DdnsSimulator final : public platform::WorkerThread {
 public:
  explicit DdnsSimulator(DdnsSimOptions options);
  ~DdnsSimulator() override;

  bool Start(std::string& error);
  uint16_t Port() const { return listener_.Port(); }
  // "ddns NAME" per request, "ddns short request" for one that ended early.
  std::vector<std::string> Log() const;

 protected:
  void Run() override;

 private:
  void Answer(platform::TcpSocket& client);

  DdnsSimOptions options_;
  platform::TcpListener listener_;
  mutable std::mutex mutex_;
  std::vector<std::string> log_;  // guarded by mutex_
};

}  // namespace dvr::sim
