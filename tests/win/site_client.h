#pragma once
// Talks to the content site (tools/content-site) from a test under Wine: fills its store and
// reads what it saw. VEXO_SITE_PORT names its port.
#include <string>

class SiteClient {
 public:
  SiteClient();
  unsigned short port() const { return port_; }
  std::string Url(const std::string& path) const;  // "http://127.0.0.1:PORT" + path

  void Put(const std::string& path, const std::string& body);
  std::string Get(const std::string& path);  // the body of a 200 answer, "" otherwise
  void Reset();
  int ConnectionCount();
  std::string TakeRequests();  // raw request heads since the last call

 private:
  std::string Exchange(const std::string& request);
  unsigned short port_ = 0;
};
