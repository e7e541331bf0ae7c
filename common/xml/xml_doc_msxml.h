#pragma once
// XmlDoc over the platform's MSXML DOM document, reached only by late binding. The caller's
// thread must have COM initialised (apartment-threaded).
#include <guiddef.h>

#include <memory>
#include <optional>

#include "common/xml/xml_doc.h"

enum class DomProbe {
  kThreeClasses,         // the library: gives up when none of the three classes is registered
  kFourClassesFallback,  // the popup: tries a fourth class, then falls back to the first
};

// The DOM document class to create, found by opening its key under HKEY_CLASSES_ROOT\CLSID.
std::optional<CLSID> ProbeDomClass(DomProbe probe);

// A new document of the probed class; nullptr when there is no class or it cannot be created.
std::unique_ptr<XmlDoc> CreateMsxmlDoc(DomProbe probe);
