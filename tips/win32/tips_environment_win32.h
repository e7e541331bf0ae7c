#pragma once
#include <string>
#include <vector>

#include "tips/tips_environment.h"
#include "tips/win32/stop_signal.h"

// The tips work's outside world on Windows: MSXML, the ANSI file functions, our HTTP client.
class Win32TipsEnvironment final : public TipsEnvironment {
 public:
  explicit Win32TipsEnvironment(StopSignal& stop) : stop_(stop) {}

  std::unique_ptr<XmlDoc> NewDocument() override;
  bool Exists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  int Download(const std::string& url, const std::string& path, std::uint64_t max_bytes) override;
  std::string TempSuffix() override;
  LocalDate Today() override;
  bool StopRequested() override { return stop_.stopped(); }

 private:
  StopSignal& stop_;
  // Movies stored as new files since the last MoveOver, not yet flushed: one flush each just
  // before the document goes in costs a third less than a flush after each download.
  std::vector<std::string> unflushed_;
};
