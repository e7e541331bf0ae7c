#pragma once
// The day's work of the library's worker: fetch the tips document, then either disable the
// tips or synchronise the store folder with it.
#include <string>

#include "tips/tips_environment.h"

enum class TipsWorkOutcome {
  kDownloadFailed,      // nothing changed
  kDisabled,            // the server said enable="0"
  kSynced,              // the new document is in place
  kDocumentUnreadable,  // the download was no tips document; everything local kept
  kSaveFailed,          // the new document could not be saved; the old one stays
  kStopped,             // the host asked us to stop
};

TipsWorkOutcome RunTipsWork(TipsEnvironment& env, const std::string& tips_url, const std::string& store_folder);
