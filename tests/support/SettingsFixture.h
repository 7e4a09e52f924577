// A scratch settings directory that the plug-in context points at for one test, with the
// message boxes and questions of the test recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "plugin/PluginContext.h"
#include "tests/support/ScratchFolder.h"

class CSettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
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
  }

  void WriteFile(const std::string& strName, const std::string& strContent) const {
    m_folder.WriteFile(strName, strContent);
  }
  std::string ReadFile(const std::string& strName) const { return m_folder.ReadFile(strName); }

  CScratchFolder m_folder{"orvane-settings"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
  std::vector<std::string> m_arrBoxes, m_arrQuestions;
  bool m_bAnswerYes = true;  // the answer to every question
};
