#include "report/html_page.h"

#include <gtest/gtest.h>

#include "shared/text.h"

namespace {

// Every byte 0x00..0xFF, in a text of the model.
std::string every_byte() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  return all;
}

// A page in which a pilot's text holding every byte reaches every place a
// name can: file, header, command, key, joystick, sibling setting.
Page page_of_every_byte(bool qfr) {
  const std::string any = every_byte();
  Page page;
  page.texts = report_texts(qfr);
  page.key_names = {{30, any}};
  page.joysticks = {{any, any, 2, 2}};
  DeviceTable devices;
  devices.ndev = 2;
  devices.ikbd = 1;
  devices.joyid[2] = 1;
  devices.headers = {any, any};
  std::vector<Binding> bindings = {{0, any, BindingKind::key, 30, any, 0, ""},
                                   {1, any, BindingKind::button, 1, "", 1, any},
                                   {2, any, BindingKind::not_attached, 48, "", 0, any},
                                   {3, any, BindingKind::unbound, 0, "", 0, ""}};
  ToolKeys tool{any, {{any, any, 30}}};
  page.tools = {tool};
  page.versions.push_back(
      {2, any, bindings, devices, find_conflicts(bindings, {tool}, page.texts)});
  page.versions.push_back({3, any, bindings, devices, {}});
  page.compared = true;
  page.differences = {{any, 0, 0}};
  return page;
}

}  // namespace

TEST(Page, EveryByteOfAPilotsTextGivesWellFormedUtf8AndNoMarkup) {
  for (bool qfr : {false, true}) {
    std::string html = render_page(page_of_every_byte(qfr));
    EXPECT_TRUE(is_utf8(html)) << qfr;
    EXPECT_EQ(html.find('\0'), std::string::npos);
    // The JSON island holds no raw "<": a header holding "</script>" can't
    // end it.
    const std::string open = "<script type=\"application/json\" id=\"controls-data\">";
    std::size_t start = html.find(open);
    ASSERT_NE(start, std::string::npos);
    start += open.size();
    std::size_t end = html.find("</script>", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(html.substr(start, end - start).find('<'), std::string::npos);
    EXPECT_EQ(html.find("<\x01"), std::string::npos);
  }
}
