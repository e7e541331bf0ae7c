// The next episode: asked of the site in advance, retried three minutes after a failure.
#include "common/text/decimal.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

namespace {

// The media address of an answer "label$media$kind".
std::u16string NextEpisodeMedia(const std::u16string& reply) {
  std::u16string media = reply.substr(reply.find(u'$') + 1);
  return media.substr(0, media.find(u'$'));
}

}  // namespace

void MainWindow::QueryNextEpisode() {
  if (ReadIniValue(ports_.profile, config_path_, config::kSH) != config::kOn) {
    context_.next_link = u"0";
    return;
  }
  const std::u16string& key = context_.current_key;
  if (key == u"0" || key.find(u'-') == std::u16string::npos) return;
  std::vector<std::u16string> f;
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const auto dash = key.find(u'-', start);
    f.push_back(dash == std::u16string::npos ? key.substr(std::min(start, key.size()))
                                             : key.substr(start, dash - start));
    start = dash == std::u16string::npos ? key.size() + 1 : dash + 1;
  }
  const std::u16string next = Decimal(IniNumber(f[2]) + 1);
  const std::u16string asked_key = key;
  const unsigned asked_item = item_serial_;
  const auto reply = ports_.transfer.OpenUrl(content_base_ + u"h.asp?id=" + f[0] + u"&v=" + f[1] + u"&v1=" + next);
  // Another item may have started while the site answered: the reply is not about it.
  if (asked_item != item_serial_ || asked_key != context_.current_key) return;
  const bool answered = reply && (*reply == u"1" || *reply == u"0" || reply->find(u'$') != std::u16string::npos);
  // An answer ends any retry still pending, so the same episode is not fetched ahead twice.
  if (answered) model_.Timer(ba1::Timer4).enabled = false;
  if (reply && *reply == u"1") {
    context_.next_link = context_.next_media = u"1";
  } else if (reply && *reply == u"0") {
    context_.next_link = context_.next_media = u"0";
  } else if (reply && reply->find(u'$') != std::u16string::npos && !IsSiteMediaAddress(NextEpisodeMedia(*reply))) {
    // Nothing the site names as a local file is fetched ahead or played: no next episode.
    context_.next_link = context_.next_media = u"1";
  } else if (reply && reply->find(u'$') != std::u16string::npos) {
    const auto dollar = reply->find(u'$');
    const std::u16string label = reply->substr(0, dollar);
    const std::u16string media = NextEpisodeMedia(*reply);
    context_.next_media = media;
    context_.next_link = u"eevexo://vexo&&&" + JsEscape(media) + u"&&&" + LinkField(f[3]) + u"&&&" + LinkField(label) +
                         u"&&&" + LinkField(f[0]) + u"&&&" + LinkField(f[1]) + u"&&&" + next;
  } else {
    context_.next_link = u"3";
    context_.next_media = u"0";
    ports_.host.TrayBalloon(u"读取下一集数据出错，稍后将重新读取！");
    retry_ticks_ = 0;
    model_.Timer(ba1::Timer4).enabled = true;
  }
}

void MainWindow::Timer4_Timer() {
  if (++retry_ticks_ < 3) return;
  model_.Timer(ba1::Timer4).enabled = false;
  QueryNextEpisode();
  context_.prebuffer_armed = 0;
  retry_ticks_ = 0;
}
