#include "play/lists/list_page.h"

#include "common/text/decimal.h"
#include "play/lists/history_lists.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::u16string_view kHead =
    u"<html><head><title></title><style type=\"text/css\">*{margin:0;padding:0;border:0px;}body{overflow:auto;"
    u"backgrond:#ffffff;}a:link,a:visited,a:active,a:hover{color:#020202;text-decoration:none;display:block}"
    u"td{padding:3px 2px 3px 2px;font-size:12px; border-bottom:1PX solid #CCC;}td img{width:11px;height:11px;}"
    u"</style></head><body oncontextmenu=\"return false\" ondragstart=\"return false\"><table id=\"v1\" "
    u"width=\"100%\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\"><vod></table><div style=\"dispaly:none\" "
    u"id=\"vd\"></div>";

constexpr std::u16string_view kScript[] = {
    u"<script type=\"text/javascript\">",
    u"var obj=document.getElementById(\"v1\");",
    u"var ob1=document.getElementById(\"vd\");",
    u"for(var i=0;i<obj.rows.length;i++){",
    u"obj.rows[i].onmouseover=function(){ob1.style.background=this.style.backgroundColor;this.style.background="
    u"\"#D6EEAF\";}",
    u"obj.rows[i].onmouseout=function(){this.style.background=ob1.style.background;}",
    u"if(obj.rows[i].rowIndex%2==1){obj.rows[i].style.backgroundColor=\"#eeeeee\";}else{obj.rows[i].style."
    u"backgroundColor=\"#ffffff\";}}",
    u"</script></body></html>",
};

constexpr std::u16string_view kEmptyRow = u"<tr><td colspan=2 align=center>暂无观看记录</td></tr>";
constexpr long long kTitleWidth = 18;

}  // namespace

std::u16string HtmlEscape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::u16string BuildListPage(const std::vector<std::u16string>& lines, std::size_t title_field,
                             const CodePage& code_page) {
  std::u16string rows;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(u'|') == std::u16string::npos) continue;
    const auto fields = SplitListLine(lines[i]);
    if (fields.size() <= title_field) continue;
    const std::u16string title = JsUnescape(fields[title_field]);
    const std::u16string shown = TruncateToByteWidth(title, kTitleWidth, code_page);
    if (shown.empty()) continue;
    const std::u16string n = Decimal(i + 1);
    // The title goes into a quoted attribute and both texts are escaped: the page runs from
    // the local disk, and a title is whatever the site or the file name says.
    rows += u"<tr><td align=left width=96%><a title=\"" + HtmlEscape(title) + u"\" href=open://" + n + u">·" +
            HtmlEscape(shown) + u"</a></td><td width=3%><a href=delk://" + n +
            u"><img src=\"i.gif\" alt=\"删除\"></a></td></tr>";
  }
  if (rows.empty()) rows = kEmptyRow;

  std::u16string page(kHead);
  page.replace(page.find(u"<vod>"), 5, rows);
  page += u"\r\n";
  for (std::u16string_view piece : kScript) {
    page += piece;
    page += u"\r\n";
  }
  page += u"\r\n";  // one more line end closes the file
  return page;
}
