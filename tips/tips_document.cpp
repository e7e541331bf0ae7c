#include "tips/tips_document.h"

#include <cstdio>

#include "common/codepage.h"

std::u16string FormatDocumentDate(const LocalDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  std::u16string out;
  for (const char* p = text; *p; ++p) out += static_cast<char16_t>(*p);
  return out;
}

std::string LocalNameOfUrl(std::string_view url) {
  const auto slash = url.rfind('/');
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool CheckUpdateDue(TipsEnvironment& env, const std::string& tips_url, const std::string& store_folder) {
  const std::string path = store_folder + LocalNameOfUrl(tips_url);
  auto doc = env.NewDocument();
  if (!doc || !doc->Load(FromAnsi(path))) return true;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return true;
  const auto stamp = root->GetAttribute(u"updatetime");
  return !(stamp && *stamp == FormatDocumentDate(env.Today()));
}

void DisableTips(TipsEnvironment& env, const std::string& store_folder) {
  const std::string path = store_folder + std::string(kLocalDocumentName);
  auto doc = env.NewDocument();
  if (!doc || !doc->Load(FromAnsi(path))) return;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return;
  root->SetAttribute(u"enable", u"0");
  root->SetAttribute(u"updatetime", FormatDocumentDate(env.Today()));
  root.reset();
  SaveDocumentReplacing(env, *doc, path);
}

bool SaveDocumentReplacing(TipsEnvironment& env, XmlDoc& doc, const std::string& path) {
  const std::string temp = path + env.TempSuffix();
  if (!doc.Save(FromAnsi(temp)) || !env.MoveOver(temp, path)) {
    env.RemoveFile(temp);
    return false;
  }
  return true;
}
