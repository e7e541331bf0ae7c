#pragma once
// Brings the store folder in line with a freshly downloaded tips document: deletes the movies
// of dropped Flash items, fetches the movies of new ones, records each movie's local path,
// and puts the new document in place of the local one.
#include <map>
#include <memory>
#include <string>

#include "tips/tips_environment.h"

// Flash items by id, ordered by plain byte comparison; the first item of an id wins.
using TipItemMap = std::map<std::string, std::unique_ptr<XmlNode>>;

class TipsSync {
 public:
  enum class Outcome { kCommitted, kNewDocumentUnreadable, kStopped, kSaveFailed };

  // `new_path`: the downloaded document; `old_path`: the local one it replaces.
  TipsSync(TipsEnvironment& env, std::string new_path, std::string old_path);

  Outcome Run();

  // Loads the document at `path`, stamps its root with today's date (in memory) and enters
  // its Flash items; nothing when it cannot be read as a tips document.
  std::unique_ptr<XmlDoc> ReadTipItems(const std::string& path, TipItemMap& map);
  // The file work; false when the host asked us to stop part way.
  bool SyncMedia(const TipItemMap& new_map, const TipItemMap& old_map);
  // Saves the new document over the local one and removes the downloaded file.
  bool CommitDocument(XmlDoc& new_document);

 private:
  std::string StoreFolder() const;

  TipsEnvironment& env_;
  std::string new_path_;
  std::string old_path_;
};
