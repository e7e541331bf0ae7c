#include <zlib.h>

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
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Encoding: br\r\nContent-Length: 3\r\n\r\nabc",
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

// `text` compressed as gzip (window bits 16 + 15), zlib (15) or raw deflate (-15).
std::string Compressed(const std::string& text, int window_bits) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, text.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string Chunks(const std::string& body, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < body.size(); i += size) {
    const std::string part = body.substr(i, size);
    char line[32];
    std::snprintf(line, sizeof line, "%zx;ext=1\r\n", part.size());
    out += line + part + "\r\n";
  }
  return out + "0\r\nX-Trailer: t\r\n\r\n";
}

// Every split of the answer into two blocks reads the same.
void ExpectWholeAtEverySplit(const std::string& answer, const std::string& body) {
  for (std::size_t cut = 0; cut <= answer.size(); cut += std::max<std::size_t>(1, answer.size() / 97)) {
    Collected c;
    c.reader.Feed(std::string_view(answer).substr(0, cut));
    c.reader.Feed(std::string_view(answer).substr(cut));
    ASSERT_EQ(c.reader.state(), HttpResponseReader::State::kComplete) << "cut at " << cut;
    ASSERT_EQ(c.body, body) << "cut at " << cut;
  }
}

TEST(HttpResponse, ChunkedAndCompressedAnswersAreStoredDecoded) {
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "<tip id=\"" + std::to_string(i) + "\"/>\n";
  const std::string head = "HTTP/1.1 200 OK\r\nServer: nginx\r\n";
  ExpectWholeAtEverySplit(head + "Transfer-Encoding: chunked\r\n\r\n" + Chunks(body, 1000), body);
  for (int bits : {16 + 15, 15, -15}) {
    const std::string packed = Compressed(body, bits);
    ExpectWholeAtEverySplit(head + "Content-Encoding: " + (bits > 15 ? "gzip" : "deflate") +
                                "\r\nContent-Length: " + std::to_string(packed.size()) + "\r\n\r\n" + packed,
                            body);
    ExpectWholeAtEverySplit(
        head + "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n" + Chunks(Compressed(body, 16 + 15), 777),
        body);
  }
  // One byte at a time, the way a slow link may deliver it.
  Collected slow;
  const std::string answer = head + "Transfer-Encoding: chunked\r\n\r\n" + Chunks("hello, world", 5);
  for (char c : answer) slow.reader.Feed(std::string_view(&c, 1));
  EXPECT_EQ(slow.reader.state(), HttpResponseReader::State::kComplete);
  EXPECT_EQ(slow.body, "hello, world");
}

TEST(HttpResponse, BrokenChunksAndCutStreamsFail) {
  const std::string head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (const std::string& tail :
       std::vector<std::string>{"zz\r\nhello\r\n0\r\n\r\n", "3\r\nhello\r\n0\r\n\r\n", std::string(5000, '1')}) {
    Collected c;
    EXPECT_EQ(c.reader.Feed(head + tail), HttpResponseReader::State::kFailed) << tail.substr(0, 20);
  }
  Collected unfinished;
  unfinished.reader.Feed(head + "5\r\nhello\r\n");
  EXPECT_EQ(unfinished.reader.ConnectionClosed(), HttpResponseReader::State::kFailed);

  const std::string packed = Compressed(std::string(10000, 'x'), 16 + 15);
  Collected cut;
  cut.reader.Feed("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + packed.substr(0, packed.size() / 2));
  EXPECT_EQ(cut.reader.ConnectionClosed(), HttpResponseReader::State::kFailed);
  Collected garbage;
  garbage.reader.Feed("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n\x1f\x8bnot gzip at all");
  EXPECT_EQ(garbage.reader.state(), HttpResponseReader::State::kFailed);
}

TEST(HttpResponse, BodiesNeverGrowPastTheLimit) {
  std::string body;
  const auto reader = [&body](std::uint64_t limit) {
    return std::make_unique<HttpResponseReader>(
        [&body](std::string_view bytes) {
          body.append(bytes);
          return true;
        },
        limit);
  };
  auto exact = reader(10);
  exact->Feed("HTTP/1.1 200 OK\r\n\r\n0123456789");
  EXPECT_EQ(exact->ConnectionClosed(), HttpResponseReader::State::kComplete);

  body.clear();
  auto endless = reader(1000);
  HttpResponseReader::State state = endless->Feed("HTTP/1.1 200 OK\r\n\r\n");
  for (int i = 0; i < 100 && state == HttpResponseReader::State::kBody; ++i)
    state = endless->Feed(std::string(64, 'x'));
  EXPECT_EQ(state, HttpResponseReader::State::kFailed);
  EXPECT_LE(body.size(), 1000u);

  // A small answer that inflates to far more than the limit (a "zip bomb").
  body.clear();
  const std::string bomb = Compressed(std::string(8 << 20, '\0'), 16 + 15);
  auto inflating = reader(1 << 20);
  EXPECT_EQ(inflating->Feed("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " +
                            std::to_string(bomb.size()) + "\r\n\r\n" + bomb),
            HttpResponseReader::State::kFailed);
  EXPECT_LE(body.size(), 1u << 20);
}

TEST(HttpResponse, NoContentEndsAtOnceEvenOnAKeptConnection) {
  Collected c;
  EXPECT_EQ(c.reader.Feed("HTTP/1.1 204 No Content\r\nConnection: keep-alive\r\n\r\n"),
            HttpResponseReader::State::kComplete);
  EXPECT_EQ(c.body, "");
}

}  // namespace
