#pragma once
// How Close_VexoTips stops the worker at once: a flag the worker checks between steps, and
// the worker's open socket, which Close shuts down and closes so that a connect, send or recv
// blocked on it returns. Whoever takes the socket out of here closes it, so it is closed once.
#include <winsock2.h>

#include <atomic>

class StopSignal {
 public:
  void Reset() { stop_.store(false); }
  bool stopped() const { return stop_.load(); }

  // From the host's thread. Never waits for the worker.
  void Stop() {
    stop_.store(true);
    Close(socket_.exchange(INVALID_SOCKET));
  }

  // The worker's new socket. False when a stop came first; the socket is then closed.
  bool Attach(SOCKET s) {
    socket_.store(s);
    if (stop_.load()) {
      Close(socket_.exchange(INVALID_SOCKET));
      return false;
    }
    return true;
  }

  // The worker is done with its socket.
  void Detach() { Close(socket_.exchange(INVALID_SOCKET)); }

 private:
  static void Close(SOCKET s) {
    if (s == INVALID_SOCKET) return;
    shutdown(s, SD_BOTH);
    closesocket(s);
  }

  std::atomic<bool> stop_{false};
  std::atomic<SOCKET> socket_{INVALID_SOCKET};
};
