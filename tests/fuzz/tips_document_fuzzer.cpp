// A tips document from the server, against the one on disk: the sync decides which movies to
// fetch and which to delete, then the popup picks an item from the result and counts it off.
// Whatever the documents say, only the two documents and plain movie names in the store
// folder are ever written or removed (the store folder checks every path), and a Flash tip is
// only played from a movie the sync fetched there.
#include "common/text/ascii_case.h"
#include "tests/fuzz/store_folder.h"
#include "tip_popup/tip_item.h"
#include "tips/tips_sync.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The downloaded document, the local one (none when empty), and the popup's argument.
  const auto parts = SplitInput(data, size, 3);
  static StoreFolder store;
  store.Empty();
  store.Write(kDownloadedDocumentName, parts[0]);
  if (!parts[1].empty()) store.Write(kLocalDocumentName, parts[1]);

  LibrarySide library(store);
  const std::string new_path = store.windows() + std::string(kDownloadedDocumentName);
  const std::string old_path = store.windows() + std::string(kLocalDocumentName);
  TipsSync(library, new_path, old_path).Run();
  FUZZ_CHECK(!store.Exists(new_path));

  // The popup is started with an id, or with the path of a document handed to it (here always
  // a copy in the store folder: the argument must not reach the host's own files).
  PopupSide popup(store);
  TipApp app;
  SetProgramPath(app, FromAnsi(store.windows()) + u"VexoTip.exe");
  std::u16string argument = Utf8ToUtf16(parts[2].empty() ? std::string_view("1") : parts[2]);
  if (ChooseTipDocument(argument, app.folder).value_or(TipDocumentChoice{}).delete_after) {
    store.Write(kDownloadedDocumentName, parts[0]);
    argument = FromAnsi(new_path);
  }
  if (ReadTipItem(popup, app, argument) && app.tip_type == 0 && FlashMovieUsable(popup, app)) {
    const std::u16string name = app.local_path.substr(app.folder.size());
    FUZZ_CHECK(IsAcceptedMovieName(ToAnsi(name)));
  }
  return 0;
}
