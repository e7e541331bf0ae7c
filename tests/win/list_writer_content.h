#pragma once
// What the list writer writes, so the kill test can tell a whole file from a torn one. Entry n
// of both lists carries n in every field; long names make each write big enough to be caught
// half done.
#include <string>

#include "common/text/decimal.h"

inline std::u16string WriterName(long long n) { return u"name-" + Decimal(n) + u"-" + std::u16string(1500, u'x'); }
inline std::u16string WriterPath(long long n) { return u"C:\\videos\\" + Decimal(n) + u".avi"; }

// The web list's line for entry n, as the lists store it.
inline std::u16string WriterWebLine(long long n) {
  return Decimal(n) + u"|" + WriterName(n) + u"|label|vexo%3A//m|1|2|" + Decimal(n);
}
inline std::u16string WriterLocalLine(long long n) { return WriterName(n) + u"|" + WriterPath(n) + u"|" + Decimal(n); }

// The tips document: many items, so its save takes a while too, and item "1" whose showings
// the popup counts off.
inline std::string WriterTipsDocument() {
  std::string items;
  for (int i = 1; i <= 300; ++i) {
    const std::string id = std::to_string(i);
    items += "<item id=\"" + id + "\" tiptype=\"1\" ver=\"1\" sticktime=\"1000000000\" mtitle=\"title " + id +
             "\" mcontent=\"" + std::string(200, 'c') + "\"/>\r\n";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<vexotips updatetime=\"2026-12-07\" version=\"0\">\r\n" +
         items + "</vexotips>\r\n";
}
