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
};
