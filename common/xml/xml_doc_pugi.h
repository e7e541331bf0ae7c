#pragma once
// XmlDoc over pugixml, for the host build's tests of the document logic.
#include <memory>

#include "common/xml/xml_doc.h"

std::unique_ptr<XmlDoc> CreatePugiXmlDoc();
