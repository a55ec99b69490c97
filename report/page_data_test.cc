#include "report/page_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>

#include "report/analysis.h"
#include "tests/test_support.h"

namespace {

// A JSON value, as far as the test needs one: the members of an object in
// their order, the items of an array.
struct Value {
  std::vector<std::pair<std::string, std::shared_ptr<Value>>> members;
  std::vector<std::shared_ptr<Value>> items;
  bool is_object = false;
};

// A strict reader of the JSON the page holds: fails the test at the first
// thing that is not JSON.
class Reader {
 public:
  explicit Reader(std::string text) : s_(std::move(text)) {}

  std::shared_ptr<Value> document() {
    auto v = value();
    space();
    if (at_ != s_.size()) fail("text after the value");
    return v;
  }
  bool ok() const { return ok_; }

 private:
  void fail(const std::string& why) {
    if (ok_) ADD_FAILURE() << why << " at " << at_ << ": " << s_.substr(at_, 40);
    ok_ = false;
    at_ = s_.size();
  }
  void space() {
    while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
  }
  bool take(char c) {
    space();
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  std::string string() {
    if (!take('"')) fail("no string");
    std::string out;
    while (at_ < s_.size() && s_[at_] != '"') {
      unsigned char c = static_cast<unsigned char>(s_[at_++]);
      if (c < 0x20) fail("a control character in a string");
      if (c != '\\') {
        out.push_back(static_cast<char>(c));
        continue;
      }
      char e = at_ < s_.size() ? s_[at_++] : '?';
      if (e == 'u') {
        if (at_ + 4 > s_.size()) fail("a cut escape");
        out += "\\u" + s_.substr(at_, 4);
        at_ += 4;
      } else if (std::string("\"\\/bfnrt").find(e) != std::string::npos) {
        out.push_back(e);
      } else {
        fail("an unknown escape");
      }
    }
    if (!take('"')) fail("an unclosed string");
    return out;
  }
  std::shared_ptr<Value> value() {
    auto v = std::make_shared<Value>();
    space();
    if (at_ >= s_.size()) {
      fail("no value");
    } else if (s_[at_] == '{') {
      ++at_;
      v->is_object = true;
      if (!take('}')) {
        do {
          std::string name = string();
          if (!take(':')) fail("no colon");
          v->members.emplace_back(name, value());
        } while (take(','));
        if (!take('}')) fail("an unclosed object");
      }
    } else if (s_[at_] == '[') {
      ++at_;
      if (!take(']')) {
        do v->items.push_back(value());
        while (take(','));
        if (!take(']')) fail("an unclosed array");
      }
    } else if (s_[at_] == '"') {
      string();
    } else {
      std::size_t end = s_.find_first_of(",]} ", at_);
      std::string word = s_.substr(at_, end - at_);
      if (!std::regex_match(word, std::regex("true|false|null|-?(0|[1-9][0-9]*)"))) {
        fail("not a value: " + word);
      }
      at_ = end;
    }
    return v;
  }

  std::string s_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

std::vector<std::string> names(const Value& v) {
  std::vector<std::string> out;
  for (const auto& [name, value] : v.members) out.push_back(name);
  return out;
}

// The members that docs/controls-data.md gives: the first column's names of
// the table under `heading`, and, for a member whose text says
// `{"a", "b"}`, the members of its items.
struct Documented {
  std::vector<std::string> members;
  std::map<std::string, std::vector<std::string>> item_members;
};

Documented documented(const std::string& heading) {
  std::ifstream in(std::string(MALVET_DOCS_DIR) + "/controls-data.md");
  std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = doc.find(heading);
  EXPECT_NE(start, std::string::npos) << heading;
  Documented d;
  std::size_t at = doc.find("\n|", start);
  at = doc.find('\n', doc.find('\n', at + 1) + 1);  // past the header and its rule
  std::regex member("^\\| `([A-Za-z0-9]+)` \\|(.*)$");
  std::regex items("`\\{(\"[a-zA-Z0-9]+\"(, \"[a-zA-Z0-9]+\")*)\\}`");
  while (at != std::string::npos && at + 1 < doc.size() && doc[at + 1] == '|') {
    std::size_t end = doc.find('\n', at + 1);
    std::string line = doc.substr(at + 1, end - at - 1);
    std::smatch m;
    if (std::regex_match(line, m, member)) {
      d.members.push_back(m[1]);
      std::string rest = m[2];
      std::smatch im;
      if (std::regex_search(rest, im, items)) {
        std::string list = im[1];
        static const std::regex quoted("\"([a-zA-Z0-9]+)\"");
        for (std::sregex_iterator it(list.begin(), list.end(), quoted), stop; it != stop; ++it) {
          d.item_members[m[1]].push_back((*it)[1]);
        }
      }
    }
    at = end;
  }
  return d;
}

// Checks an object against the documented members, and the first item of
// each documented array of objects.
void check(const Value& v, const Documented& d, const std::string& where) {
  EXPECT_EQ(names(v), d.members) << where;
  for (const auto& [name, value] : v.members) {
    auto listed = d.item_members.find(name);
    if (listed == d.item_members.end() || value->items.empty()) continue;
    EXPECT_EQ(names(*value->items[0]), listed->second) << where << "." << name;
  }
}

ReportModel example(Language language) {
  ReportModel model;
  model.key_names = {{30, "A"}, {57, "Space"}};
  model.joysticks = {{"Stick", "[{S}]", 2, 4}};
  VersionModel v;
  v.ctrfile = "..\\Ann\\controls.ini";
  v.devices.sections = {{"[Keys]", SectionKind::keyboard, 0, 0},
                        {"[{S}]", SectionKind::joystick, 1, 0}};
  v.bindings = {{0, "Roll", BindingKind::axis, 0, "", 1, "Stick"},
                {1, "Pause", BindingKind::key, 57, "Space", 0, ""},
                {2, "Brake", BindingKind::key, 57, "Space", 0, ""},
                {3, "Chat", BindingKind::unbound, 0, "", 0, ""}};
  ToolKeys tool{"Palvik", "P.ini", {{"KeyMenu", "A", 30, 0}}, true};
  model.tools = {tool};
  v.conflicts = find_conflicts(v.bindings, {tool}, report_texts(language));
  for (int version : {2, 3}) {
    v.version = version;
    model.versions.push_back(v);
  }
  model.compared = true;
  model.differences = {{"Pause", 1, 1}};
  return model;
}

std::string data_of(const ReportModel& model, Language language = Language::english) {
  PageText o;
  ReportTexts texts = report_texts(language);
  write_page_data(o, model, build_card(model, texts), texts);
  const std::string open = "<script type=\"application/json\" id=\"controls-data\">";
  EXPECT_EQ(o.text.substr(0, open.size()), open);
  EXPECT_EQ(o.text.substr(o.text.size() - 11), "</script>\r\n");
  return o.text.substr(open.size(), o.text.size() - open.size() - 11);
}

}  // namespace

TEST(PageData, TheMembersThatTheDocumentGives) {
  for (Language language : {Language::english, Language::french}) {
    Reader reader(data_of(example(language), language));
    std::shared_ptr<Value> model = reader.document();
    ASSERT_TRUE(reader.ok());
    check(*model, documented("## The object"), "model");
    const Value& versions = *model->members[8].second;
    ASSERT_EQ(versions.items.size(), 2u);
    check(*versions.items[0], documented("## A version"), "version");
    const Value& bindings = *versions.items[0]->members[3].second;
    ASSERT_EQ(bindings.items.size(), 4u);
    for (const auto& binding : bindings.items) check(*binding, documented("A binding:"), "binding");
  }
}

TEST(PageData, EscapedWhateverTheTexts) {
  ReportModel model = example(Language::english);
  model.versions[0].devices.sections[0].header = "[\"</script>\\\n]";
  model.versions[0].bindings[3].command = std::string("a\0b\x7F", 4);
  Reader reader(data_of(model));
  reader.document();
  EXPECT_TRUE(reader.ok());
  std::string data = data_of(model);
  EXPECT_NE(data.find("\"header\":\"[\\\"\\u003c/script\\u003e\\\\\\u000a]\""), std::string::npos);
  EXPECT_NE(data.find("\"command\":\"a\\u0000b\\u007f\""), std::string::npos);
  // One version read: no differences to give.
  model.versions.pop_back();
  model.compared = false;
  EXPECT_NE(data_of(model).find(",\"differences\":null}"), std::string::npos);
}

TEST(PageData, SectionsAndSiblingKeysAsRead) {
  ReportModel model = example(Language::english);
  std::string data = data_of(model);
  EXPECT_NE(data.find("\"sections\":[{\"header\":\"[Keys]\",\"joystick\":0,\"keyboard\":true},"
                      "{\"header\":\"[{S}]\",\"joystick\":1,\"keyboard\":false}]"),
            std::string::npos);
  EXPECT_NE(data.find("\"siblingKeys\":[{\"tool\":\"Palvik\",\"setting\":\"KeyMenu\","
                      "\"key\":\"A\",\"code\":30}]"),
            std::string::npos);
  // A sibling file not read whole takes the keys read before the error.
  model.tools[0].whole = false;
  EXPECT_NE(data_of(model).find("\"siblingTools\":[{\"tool\":\"Palvik\",\"file\":\"P.ini\","
                                "\"readToItsEnd\":false}],\"siblingKeys\":[{\"tool\":\"Palvik\""),
            std::string::npos);
}
