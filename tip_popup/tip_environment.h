#pragma once
// What the popup's document handling needs from outside.
#include <memory>
#include <string>

#include "common/xml/xml_doc.h"

class TipEnvironment {
 public:
  virtual ~TipEnvironment() = default;
  // A document of the platform DOM (the four-class probe with its fallback); nullptr when
  // it cannot be created.
  virtual std::unique_ptr<XmlDoc> NewDocument() = 0;
  virtual bool MoveOver(const std::u16string& from, const std::u16string& to) = 0;
  virtual bool RemoveFile(const std::u16string& path) = 0;
  // Whether a file (not a folder) is there.
  virtual bool Exists(const std::u16string& path) = 0;
  // A suffix for temporary files that no other process or thread uses at the same time.
  virtual std::u16string TempSuffix() = 0;
};
