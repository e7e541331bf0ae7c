#include "tips/tips_work.h"

#include "common/codepage.h"
#include "tips/media_name.h"
#include "tips/tips_document.h"
#include "tips/tips_sync.h"

namespace {

// Whether the downloaded document's root says enable="0".
bool DownloadDisablesTips(TipsEnvironment& env, const std::string& path) {
  auto doc = env.NewDocument();
  if (!doc || !doc->Load(FromAnsi(path))) return false;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return false;
  return root->GetAttribute(u"enable") == std::u16string(u"0");
}

}  // namespace

TipsWorkOutcome RunTipsWork(TipsEnvironment& env, const std::string& tips_url, const std::string& store_folder) {
  const std::string local = store_folder + LocalNameOfUrl(tips_url);
  std::string downloaded = store_folder + std::string(kDownloadedDocumentName);
  // An address whose document is itself called like the download must not have the download
  // land on (and then be removed from) the local document.
  if (SamePath(downloaded, local)) downloaded += ".~download";
  if (env.StopRequested()) return TipsWorkOutcome::kStopped;
  if (env.Download(tips_url, downloaded, kMaxDocumentBytes) != 0) {
    return env.StopRequested() ? TipsWorkOutcome::kStopped : TipsWorkOutcome::kDownloadFailed;
  }
  if (env.StopRequested()) return TipsWorkOutcome::kStopped;

  if (DownloadDisablesTips(env, downloaded)) {
    DisableTips(env, store_folder);
    return TipsWorkOutcome::kDisabled;
  }
  TipsSync sync(env, downloaded, local);
  switch (sync.Run()) {
    case TipsSync::Outcome::kCommitted: return TipsWorkOutcome::kSynced;
    case TipsSync::Outcome::kNewDocumentUnreadable: return TipsWorkOutcome::kDocumentUnreadable;
    case TipsSync::Outcome::kSaveFailed: return TipsWorkOutcome::kSaveFailed;
    case TipsSync::Outcome::kStopped: break;
  }
  return TipsWorkOutcome::kStopped;
}
