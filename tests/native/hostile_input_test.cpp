// Damaged and hostile input through every parser: nothing may crash, hang or read out of
// bounds (this tier also runs under AddressSanitizer and UBSan). Inputs are random but
// repeatable, built from fragments that matter to each parser.
#include <gtest/gtest.h>

#include <random>

#include "play/native/ini_document.h"
#include "play/panes/link_page.h"
#include "play/startup/command_line.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"
#include "tip_popup/skin/skin_loader.h"
#include "tip_popup/tip_item.h"
#include "tips/http_request.h"
#include "tips/http_response.h"

namespace {

template <typename Char>
std::basic_string<Char> Mix(std::mt19937& random, const std::vector<std::basic_string<Char>>& pieces, int count) {
  std::basic_string<Char> out;
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  for (int i = 0; i < count; ++i) out += pieces[pick(random)];
  return out;
}

TEST(HostileInput, HttpFramingAndAddresses) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {"HTTP/1.1 ",
                                           "200",
                                           " OK",
                                           "\r\n",
                                           "\r\n\r\n",
                                           "Content-Length:",
                                           " 5",
                                           "99999999999999999999",
                                           "Transfer-Encoding: chunked",
                                           ":",
                                           "x",
                                           "\0",
                                           "\xFF",
                                           "HTTP/",
                                           "404",
                                           "-1",
                                           "  ",
                                           "http://",
                                           "/",
                                           "h:",
                                           "65536"};
  for (int round = 0; round < 3000; ++round) {
    const std::string response = Mix(random, pieces, static_cast<int>(random() % 40));
    std::size_t stored = 0;
    HttpResponseReader reader([&](std::string_view body) {
      stored += body.size();
      return true;
    });
    for (std::size_t at = 0; at < response.size(); at += 1 + random() % 7) {
      reader.Feed(std::string_view(response).substr(at, 1 + random() % 7));
    }
    reader.ConnectionClosed();
    if (reader.content_length()) {
      EXPECT_LE(stored, *reader.content_length());
    }
    ParseHttpAddress(response);
  }
}

TEST(HostileInput, PagesIniFilesAndTexts) {
  std::mt19937 random(11);
  const std::vector<std::u16string> html = {
      u"<a",  u" href=", u"'x'",  u"\"",   u">", u"</a>", u"<img alt=", u"<script>", u"</script>", u"<!--",
      u"-->", u"&#",     u"x1F;", u"&amp", u";", u"<",    u"第",        u"../",      u"open://",   u"\\"};
  const std::vector<std::u16string> ini = {u"[",  u"]", u"S_q", u"=", u"\r\n", u"\n", u" ",
                                           u"\"", u"'", u"key", u";", u"\t",   u"值"};
  const std::vector<std::u16string> text = {u"%", u"u", u"12", u"zz", u"%u", u"D83C", u"-", u"niba://",   u"\"",
                                            u"/", u"[", u"]",  u"#",  u"ff", u" ",    u"+", u"9999999999"};
  for (int round = 0; round < 2000; ++round) {
    const std::u16string page = Mix(random, html, static_cast<int>(random() % 60));
    const LinkPage links = ParseLinkPage(page, random() % 2 ? u"http://h/a/b.htm" : u"C:\\p\\c.htm");
    for (const PageLink& link : links.links) ResolveAddress(u"http://h/a/", link.href);

    IniDocument doc = IniDocument::Parse(Mix(random, ini, static_cast<int>(random() % 30)));
    doc.Find(u"S_q", u"key");
    doc.Set(u"S_q", u"key", u"v");
    EXPECT_EQ(doc.Find(u"s_q", u"KEY").value_or(u"?"), u"v");

    const std::u16string t = Mix(random, text, static_cast<int>(random() % 20));
    EXPECT_EQ(JsUnescape(JsEscape(t)), t);
    JsUnescape(t);
    TextBetween(t, u"[", u"]", static_cast<int>(random() % 4));
    ClassifyCommandLine(t);
    ReadTipNumber(t);
    ParseSkinColor(t);
    FormatPlayTime(static_cast<long long>(random()) - 1000000);
  }
}

}  // namespace
