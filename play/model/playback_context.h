#pragma once
// What the main window knows about the item being played, shared by the link handlers, the
// monitor, the episode sequencing and the player buttons.
#include <string>

struct PlaybackContext {
  std::u16string current_key = u"0";   // CurrentKey: id-v-v1-name of the web item, or "0"
  std::u16string current_item = u"0";  // CurrentItem: web item id, local file path, or "0"
  std::u16string next_link = u"0";     // NextLink: "0" no answer yet, "1" none, "3" failed, else eevexo:// link
  std::u16string next_media = u"0";    // NextMedia: "0" no answer yet, "1" none, else the media address
  int prebuffer_armed = 0;             // PrebufferArmed
  long resume_position = 0;            // ResumePosition: seconds to seek to once playing; 0 none
  int resume_done = 0;                 // ResumeDone
  int web_player_mode = 0;             // WebPlayerMode: 1 while a web page plays the item
  int panel_source = 0;                // PanelSource: 1 episode page in Web5, 2 local list
  std::u16string player_folder;        // PlayerFolder, from S_q/vexow
  int catalogue_error = 0;             // CatalogueError
  long last_position = 0;              // LastPosition: the monitor's last playing position, saved on stop
};
