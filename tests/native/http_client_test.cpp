#include <gtest/gtest.h>

#include "tips/http_request.h"
#include "tips/http_response.h"

namespace {

TEST(HttpAddress, HostPortAndPathAsTheServerExpects) {
  auto a = ParseHttpAddress("http://tips.example.com:8080/soft/VexoTips.xml?d=1&x=%20");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->host, "tips.example.com");
  EXPECT_EQ(a->port, 8080);
  EXPECT_EQ(a->path, "/soft/VexoTips.xml?d=1&x=%20");
  EXPECT_EQ(BuildHttpRequest(*a),
            "GET /soft/VexoTips.xml?d=1&x=%20 HTTP/1.1\r\n"
            "Accept: */*\r\n"
            "Accept-Language: zh-cn\r\n"
            "Accept-Encoding: gzip, deflate\r\n"
            "User-Agent: VexoPlayer\r\n"
            "Host:tips.example.com \r\n"
            "Connection: Keep-Alive\r\n"
            "\r\n");

  auto root = ParseHttpAddress("http://127.0.0.1/");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->port, 80);
  EXPECT_EQ(BuildHttpRequest(*root).substr(0, 16), "GET / HTTP/1.1\r\n");

  auto no_digits = ParseHttpAddress("http://h:x/a");
  ASSERT_TRUE(no_digits);
  EXPECT_EQ(no_digits->port, 0);  // never connects
}

TEST(HttpAddress, RefusesWhatCannotBeFetched) {
  for (const char* url : {"", "https://h/a", "HTTP://h/a", "ftp://h/a", "http://h", "http://", "http:///a",
                          "http://:80/a", "http://h:65536/a", "http://h:99999999999999999999/a"}) {
    EXPECT_FALSE(ParseHttpAddress(url)) << url;
  }
}

struct Collected {
  std::string body;
  HttpResponseReader reader{[this](std::string_view bytes) {
    body.append(bytes);
    return true;
  }};
};

TEST(HttpResponse, BodyEndsAtContentLengthEvenAcrossBlocks) {
  Collected c;
  EXPECT_EQ(c.reader.Feed("HTTP/1.1 200 OK\r\nContent-Le"), HttpResponseReader::State::kHeaders);
  EXPECT_EQ(c.reader.Feed("ngth: 10\r\n\r"), HttpResponseReader::State::kHeaders);
  EXPECT_EQ(c.reader.Feed("\nhello"), HttpResponseReader::State::kBody);
  EXPECT_EQ(c.reader.Feed("worldEXTRA"), HttpResponseReader::State::kComplete);
  EXPECT_EQ(c.body, "helloworld");
}

TEST(HttpResponse, WithoutLengthTheBodyRunsToTheClose) {
  Collected c;
  c.reader.Feed("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<a/>");
  c.reader.Feed("<b/>");
  EXPECT_EQ(c.reader.ConnectionClosed(), HttpResponseReader::State::kComplete);
  EXPECT_EQ(c.body, "<a/><b/>");
}

TEST(HttpResponse, ShortBodyOrEarlyCloseFails) {
  Collected short_body;
  short_body.reader.Feed("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this");
  EXPECT_EQ(short_body.reader.ConnectionClosed(), HttpResponseReader::State::kFailed);

  Collected no_head;
  no_head.reader.Feed("HTTP/1.1 200 OK\r\nContent-Length: 1");
  EXPECT_EQ(no_head.reader.ConnectionClosed(), HttpResponseReader::State::kFailed);
}

TEST(HttpResponse, ZeroLengthIsAnEmptyCompleteBody) {
  Collected c;
  EXPECT_EQ(c.reader.Feed("HTTP/1.1 200 OK\r\ncontent-length:0\r\n\r\n"), HttpResponseReader::State::kComplete);
  EXPECT_EQ(c.body, "");
}

TEST(HttpResponse, ErrorStatusesAndUnstorableBodiesFail) {
  for (const char* head :
       {"HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\n<html", "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n",
        "HTTP/1.1 500 Oops\r\n\r\n", "<html>no status line</html>\r\n\r\n", "HTTP/1.1 2x0 OK\r\n\r\n",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 3\r\n\r\nabc",
        "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n"}) {
    Collected c;
    EXPECT_EQ(c.reader.Feed(head), HttpResponseReader::State::kFailed) << head;
    EXPECT_EQ(c.body, "") << head;
  }
}

TEST(HttpResponse, LongHeaderBlocksAreReadUpTo64KiB) {
  const std::string filler = "X-Filler: " + std::string(2000, 'f') + "\r\n";
  Collected fits;
  std::string head = "HTTP/1.1 200 OK\r\n" + filler + "Content-Length: 2\r\n\r\nok";
  for (std::size_t i = 0; i < head.size(); i += 1024) fits.reader.Feed(std::string_view(head).substr(i, 1024));
  EXPECT_EQ(fits.reader.state(), HttpResponseReader::State::kComplete);
  EXPECT_EQ(fits.body, "ok");

  Collected too_long;
  too_long.reader.Feed("HTTP/1.1 200 OK\r\n");
  HttpResponseReader::State state = HttpResponseReader::State::kHeaders;
  for (int i = 0; i < 40 && state == HttpResponseReader::State::kHeaders; ++i) state = too_long.reader.Feed(filler);
  EXPECT_EQ(state, HttpResponseReader::State::kFailed);
}

TEST(HttpResponse, AFailingSinkFailsTheFetch) {
  HttpResponseReader reader([](std::string_view) { return false; });
  EXPECT_EQ(reader.Feed("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc"), HttpResponseReader::State::kFailed);
}

}  // namespace
