// A scratch settings directory that the plug-in context points at for one test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "plugin/PluginContext.h"

class CSettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("orvane-settings-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    SetMessageBoxSink([this](const std::string& strText) { m_arrBoxes.push_back(strText); });
    SetQuestionSink([this](const std::string& strText) {
      m_arrQuestions.push_back(strText);
      return m_bAnswerYes;
    });
  }

  void TearDown() override {
    SetQuestionSink({});
    SetMessageBoxSink({});
    g_pluginContext = PluginContext{};
    std::filesystem::remove_all(m_dir);
  }

  void WriteFile(const std::string& strName, const std::string& strContent) const {
    std::ofstream(m_dir / strName, std::ios::binary) << strContent;
  }

  std::string ReadFile(const std::string& strName) const {
    std::ifstream file(m_dir / strName, std::ios::binary);
    std::stringstream stream;
    stream << file.rdbuf();
    return stream.str();
  }

  std::filesystem::path m_dir;
  std::vector<std::string> m_arrBoxes;
  std::vector<std::string> m_arrQuestions;
  bool m_bAnswerYes = true;  // the answer to every question
};
