#pragma once
// Everything the tips work needs from outside: the DOM, the store folder's files, the
// network, the date, and whether the host asked us to stop. Paths and addresses are narrow
// strings in the system code page, as the host hands them to the library.
#include <cstdint>
#include <memory>
#include <string>

#include "common/xml/xml_doc.h"

struct LocalDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

class TipsEnvironment {
 public:
  virtual ~TipsEnvironment() = default;
  // A new document of the platform DOM; nullptr when no DOM class is registered.
  virtual std::unique_ptr<XmlDoc> NewDocument() = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Moves `from` over `to`, replacing it in one step, once every file Download stored is on
  // the disk: a document that goes in never names a movie that a power cut could still take.
  virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
  // Fetches `url` into `path`: 0 when the whole body of a 2xx answer was stored, -1 when not
  // (also when the body would pass `max_bytes`), in which case `path` is left as it was. A
  // file that replaces another is on the disk when this returns; a new one, by the next
  // MoveOver.
  virtual int Download(const std::string& url, const std::string& path, std::uint64_t max_bytes) = 0;
  // A suffix for temporary files that no other process or thread uses at the same time.
  virtual std::string TempSuffix() = 0;
  virtual LocalDate Today() = 0;
  virtual bool StopRequested() = 0;
};
