// The language files beside the program: every language carries exactly the keys of the English
// file, no value is empty, and each string keeps the English string's printf conversions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

using Section = std::map<std::string, std::string>;   // key (lower case) -> value
using LanguageFile = std::map<std::string, Section>;  // section (lower case) -> keys

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Parses a file the way the program's ini reader does; duplicate keys are reported.
LanguageFile Parse(const std::filesystem::path& path, std::vector<std::string>& problems) {
  LanguageFile file;
  std::ifstream in(path);
  std::string line, section;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Lower(line.substr(1, line.size() - 2));
      if (file.count(section)) problems.push_back(path.filename().string() + ": section twice: " + section);
      file[section];
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos || section.empty()) {
      problems.push_back(path.filename().string() + ":" + std::to_string(number) + ": not a key line");
      continue;
    }
    const std::string key = Lower(Trim(line.substr(0, equals)));
    if (!file[section].emplace(key, Trim(line.substr(equals + 1))).second)
      problems.push_back(path.filename().string() + ": [" + section + "] " + key + " twice");
  }
  return file;
}

std::filesystem::path LangFolder() {
  return std::filesystem::path(std::getenv("PICTAVO_SOURCE_DIR")) / "data" / "lang";
}

// The printf conversions of a text, in order.
std::vector<std::string> Conversions(const std::string& text) {
  static const std::regex conversion(R"(%(%|[-+ #0]*[0-9]*(\.[0-9]+)?[a-zA-Z]))");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion); it != std::sregex_iterator();
       ++it)
    found.push_back(it->str());
  return found;
}

}  // namespace

TEST(LanguageFiles, EveryLanguageHasTheKeysOfTheEnglishFile) {
  std::vector<std::string> problems;
  const LanguageFile english = Parse(LangFolder() / "lang_eng.ini", problems);
  ASSERT_FALSE(english.empty());
  int languages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(LangFolder())) {
    const std::string name = entry.path().filename().string();
    if (!std::regex_match(Lower(name), std::regex("lang_...\\.ini"))) continue;
    ++languages;
    const LanguageFile other = Parse(entry.path(), problems);
    for (const auto& [section, keys] : english) {
      ASSERT_TRUE(other.count(section)) << name << " has no section [" << section << "]";
      for (const auto& [key, value] : keys) {
        const auto found = other.at(section).find(key);
        if (found == other.at(section).end()) {
          problems.push_back(name + ": missing [" + section + "] " + key);
          continue;
        }
        if (found->second.empty()) problems.push_back(name + ": empty [" + section + "] " + key);
        if (section == "string" && Conversions(found->second) != Conversions(value))
          problems.push_back(name + ": [STRING] " + key + " changes the conversions of \"" + value + "\"");
      }
    }
    for (const auto& [section, keys] : other) {
      if (!english.count(section)) {
        problems.push_back(name + ": extra section [" + section + "]");
        continue;
      }
      for (const auto& [key, value] : keys)
        if (!english.at(section).count(key)) problems.push_back(name + ": extra [" + section + "] " + key);
    }
  }
  EXPECT_GE(languages, 2);
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
}

TEST(LanguageFiles, LookupNamesExistingFiles) {
  std::vector<std::string> problems;
  const LanguageFile lookup = Parse(LangFolder() / "language_lookup.ini", problems);
  ASSERT_TRUE(lookup.count("language"));
  const std::regex key("0x[0-9a-f]{4}");
  for (const auto& [id, file] : lookup.at("language")) {
    EXPECT_TRUE(std::regex_match(id, key)) << id;
    EXPECT_TRUE(std::filesystem::exists(LangFolder() / file)) << id << " -> " << file;
  }
  EXPECT_EQ(lookup.at("language").at("0x0407"), "lang_deu.ini");
  EXPECT_EQ(lookup.at("language").at("0x0409"), "lang_eng.ini");
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
}
