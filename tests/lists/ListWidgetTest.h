// What the list control and dialog tests share: the widgets they drive and the list support.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>

#include "tests/support/EventWait.h"
#include "tests/support/ListTestSupport.h"

using Texts = std::vector<std::string>;
