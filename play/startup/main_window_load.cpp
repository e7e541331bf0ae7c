// The main window's start as the first copy, and the hand-off of later copies' command lines.
#include "play/main_window.h"
#include "play/startup/command_line.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"
#include "play/text/text_procedures.h"

MainWindow::MainWindow(MainWindowPorts ports, std::u16string program_folder, std::u16string content_base)
    : ports_(ports),
      program_folder_(std::move(program_folder)),
      content_base_(std::move(content_base)),
      config_path_(program_folder_ + u"\\" + std::u16string(config::kFileName)),
      model_(MakeMainWindowDesign()) {}

void MainWindow::LoadFirstInstance(std::u16string_view command_line) {
  work_area_ = ports_.host.WorkArea();
  ports_.host.InstallMaxSizeHook(work_area_.width(), work_area_.height());
  ports_.host.AddMinimizeMaximizeBoxes();

  ProfileStrings& profile = ports_.profile;
  skin_number_ = IniNumber(ReadIniValue(profile, config_path_, config::kSkinNum));
  user_id_ = ReadIniValue(profile, config_path_, u"user", u"Name", config::kUnset);
  current_version_ = ReadIniValue(profile, config_path_, u"ver", u"Name", config::kUnset);
  const long long saved_width = IniNumber(ReadIniValue(profile, config_path_, config::kHW));
  const long long saved_height = IniNumber(ReadIniValue(profile, config_path_, config::kHH));
  if (IniNumber(ReadIniValue(profile, config_path_, config::kSSize)) == 2) {
    model_.width_twips = static_cast<long>(saved_width);
    model_.height_twips = static_cast<long>(saved_height);
  }
  // A number beyond the four skins (or below them) shows the second one.
  long skin = skin_number_ > 3 || skin_number_ < 0 ? 1 : skin_number_;
  skin_applied_ = false;
  p_p(skin);

  const std::u16string list_page = program_folder_ + u"\\c.htm";
  ports_.panes.Navigate(ba1::Web1, content_base_);
  ports_.panes.Navigate(ba1::Web2, u"about:blank");
  ports_.panes.Navigate(ba1::Web3, list_page);
  ports_.panes.Navigate(ba1::Web4, program_folder_ + u"\\f.htm");
  ports_.panes.Navigate(ba1::Web5, list_page);
  ports_.panes.Navigate(ba1::Weby, content_base_ + u"js/ads/softad.html");
  ports_.panes.Navigate(ba1::Web6, content_base_ + u"tj/tj.asp?id=" + user_id_);
  ports_.panes.Navigate(ba1::Web7, content_base_ + u"js/ads/vexoad.html");

  model_(ba1::hzhuo).caption = u"合作伙伴:" + HostOfAddress(content_base_);
  PlaceFooter();
  ports_.host.AddTrayIcon(model_.caption);
  context_.current_item = u"0";
  context_.resume_done = 0;
  context_.web_player_mode = 0;
  ports_.player.SetAdUrl(content_base_ + u"js/ads/vexoad.html");
  key_preview_ = true;
  if (!command_line.empty()) ActOnCommandLine(command_line);
}

void MainWindow::Form_LinkExecute(std::u16string_view command) {
  model_.Timer(ba1::Timer3).enabled = true;
  // Decided on arrival: bringing the window to the front can take a while, and lets events run.
  const bool joins = !command.empty() && JoinsSelection(command);
  ports_.host.BringToFront();
  if (command.empty() || joins) return;
  // Before the stop, which lets events run: a hand-off arriving meanwhile is of this one's
  // selection.
  MarkFileCommand(command);
  if (compact_mode_ == 1) jbi_Click();
  bo_but_Click(1);
  ActOnCommandLine(command);
}

void MainWindow::ResetPlaybackContext() {
  context_.resume_done = 0;
  context_.resume_position = 0;
  context_.prebuffer_armed = 0;
  context_.web_player_mode = 0;
  context_.current_key = u"0";
  context_.next_link = u"0";
  context_.next_media = u"0";
}

void MainWindow::l_com(std::u16string_view text) {
  const CommandLineRequest request = ClassifyCommandLine(text);
  switch (request.kind) {
    case CommandLineRequest::Kind::kNothing: return;
    case CommandLineRequest::Kind::kPageLink:
      ports_.panes.Navigate(ba1::Web5, content_base_ + u"pp.htm?" + request.text);
      context_.panel_source = 1;
      npc_Click(9);
      return;
    case CommandLineRequest::Kind::kMedia:
      NewChoice();
      NewItem();
      ports_.player.SetMediaUrl(request.text);
      ports_.player.Play();
      model_.Timer(ba1::Timer1).enabled = true;
      model_(ba1::bo_name).caption = FileNameOfPath(request.text);
      ResetPlaybackContext();
      context_.current_item = request.text;
      ports_.lists.AddLocalEntry(model_(ba1::bo_name).caption, request.text, 0);
      context_.panel_source = 2;
      npc_Click(9);
      return;
  }
}
