#include "tips/tips_sync.h"

#include <algorithm>
#include <vector>

#include "common/codepage.h"
#include "tips/media_name.h"
#include "tips/tips_document.h"

namespace {

std::string AttributeAnsi(const XmlNode& node, std::u16string_view name) {
  return ToAnsi(node.GetAttribute(name).value_or(u""));
}

}  // namespace

TipsSync::TipsSync(TipsEnvironment& env, std::string new_path, std::string old_path)
    : env_(env), new_path_(std::move(new_path)), old_path_(std::move(old_path)) {}

TipsSync::Outcome TipsSync::Run() {
  // Documents first, maps second: the maps' nodes point into the documents and go first.
  std::unique_ptr<XmlDoc> new_document;
  std::unique_ptr<XmlDoc> old_document;
  TipItemMap new_map;
  TipItemMap old_map;

  new_document = ReadTipItems(new_path_, new_map);
  if (!new_document) {
    // An error page or a truncated file is no reason to throw away the movies and the
    // document we have: keep them all and drop only the download.
    env_.RemoveFile(new_path_);
    return Outcome::kNewDocumentUnreadable;
  }
  old_document = ReadTipItems(old_path_, old_map);
  if (!SyncMedia(new_map, old_map) || env_.StopRequested()) return Outcome::kStopped;
  return CommitDocument(*new_document) ? Outcome::kCommitted : Outcome::kSaveFailed;
}

std::unique_ptr<XmlDoc> TipsSync::ReadTipItems(const std::string& path, TipItemMap& map) {
  auto doc = env_.NewDocument();
  if (!doc || !doc->Load(FromAnsi(path))) return nullptr;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return nullptr;
  root->SetAttribute(u"updatetime", FormatDocumentDate(env_.Today()));
  const std::size_t count = root->ChildCount();
  for (std::size_t i = 0; i < count; ++i) {
    auto node = root->Child(i);
    if (!node) continue;
    // Only Flash tips have media; text tips ride along in the document untouched.
    if (AttributeAnsi(*node, u"tiptype") != "0") continue;
    map.try_emplace(AttributeAnsi(*node, u"id"), std::move(node));
  }
  return doc;
}

bool TipsSync::SyncMedia(const TipItemMap& new_map, const TipItemMap& old_map) {
  const std::string folder = StoreFolder();
  std::vector<std::string> kept_movies;
  for (const auto& [id, node] : new_map) {
    const std::string movie = MediaPathForUrl(folder, AttributeAnsi(*node, u"flashurl"));
    if (!movie.empty()) kept_movies.push_back(movie);
  }
  for (const auto& [id, node] : old_map) {
    if (new_map.count(id)) continue;  // a kept id keeps its file, even if the movie changed
    // The movie a dropped item had is found again from its address by the same rule, never
    // from the stored localpath: the document on disk may say anything. A movie that a new
    // item uses too stays.
    const std::string movie = MediaPathForUrl(folder, AttributeAnsi(*node, u"flashurl"));
    const bool still_used = std::any_of(kept_movies.begin(), kept_movies.end(),
                                        [&movie](const std::string& kept) { return SamePath(kept, movie); });
    if (!movie.empty() && !still_used) env_.RemoveFile(movie);
  }
  for (const auto& [id, node] : new_map) {
    if (env_.StopRequested()) return false;
    const std::string url = AttributeAnsi(*node, u"flashurl");
    const std::string local_path = MediaPathForUrl(folder, url);
    if (local_path.empty()) {
      // No accepted file name: no download, and no path the popup could be sent to, whatever
      // the server wrote there.
      node->SetAttribute(u"localpath", u"");
      continue;
    }
    if (!(old_map.count(id) && env_.Exists(local_path))) env_.Download(url, local_path, kMaxMovieBytes);
    node->SetAttribute(u"localpath", FromAnsi(local_path));
  }
  return true;
}

bool TipsSync::CommitDocument(XmlDoc& new_document) {
  // The new document goes in with one replace: the local document is never missing, and a
  // failed save leaves the old one in place.
  const bool saved = SaveDocumentReplacing(env_, new_document, old_path_);
  if (!SamePath(new_path_, old_path_)) env_.RemoveFile(new_path_);
  return saved;
}

std::string TipsSync::StoreFolder() const {
  const auto slash = new_path_.rfind('\\');
  return slash == std::string::npos ? std::string() : new_path_.substr(0, slash + 1);
}
