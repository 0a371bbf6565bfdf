#pragma once
// A main window wired to recording ports, with a fixed clock, for Qt Test.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <memory>
#include <string>

#include "catalogue/catalogue_writer.h"
#include "support/recording_ports.h"
#include "ui/frm_yohou.h"

namespace tenmirel::testing {

// 2024-03-05 21:07:30 UT, which is 2024-03-06 06:07 at the site.
inline std::chrono::system_clock::time_point fixedClock() {
  using namespace std::chrono;
  return sys_days{year{2024} / March / 5} + hours{21} + minutes{7} + seconds{30};
}

// The two-star example catalogue, CR LF line ends.
inline std::string twoStarCatalogue() {
  return catalogueFileText({{"ZZ Exa", "2451545.1234", "0.7654321", "5", "30.5", "True", "12", "15", "EA, min. 11.2"},
                            {"YY Sam", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"}});
}

struct UiHarness {
  RecordingMessages messages;
  ScriptedChooser chooser;
  int endRequests = 0;
  std::unique_ptr<ui::FrmYohou> window;

  UiHarness() {
    ui::FrmYohouPorts ports;
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.endProgram = [this] { ++endRequests; };
    window = std::make_unique<ui::FrmYohou>(std::move(ports), fixedClock());
  }

  template <typename T>
  T* child(const char* name) const {
    return window->findChild<T*>(QString::fromUtf8(name));
  }
  QLineEdit* box(const char* name) const { return child<QLineEdit>(name); }
  QLabel* label(const char* name) const { return child<QLabel>(name); }
  QPushButton* button(const char* name) const { return child<QPushButton>(name); }
  QAction* action(const char* name) const { return child<QAction>(name); }
  QComboBox* combo() const { return child<QComboBox>("Combo1"); }

  // Replaces a box's text by typing, as a user does.
  void type(const char* name, const QString& text) const {
    QLineEdit* target = box(name);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_Delete);
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(target, c.toLatin1());
      } else {
        // Japanese arrives as text without a key of its own, as from an input method.
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }
  void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

  // Loads the given catalogue text through the load button.
  void load(const TempDir& dir, const std::string& catalogue) {
    chooser.answers.push_back(dir.write("stars.vsd", catalogue).string());
    click("Command1");
  }

  QStringList comboItems() const {
    QStringList items;
    for (int i = 0; i < combo()->count(); ++i) items << combo()->itemText(i);
    return items;
  }

  // Chooses a selector entry with the keyboard, which is how Combo1_Click runs.
  void chooseWithKeyboard(int index) const {
    QComboBox* selector = combo();
    selector->setFocus();
    QTest::keyClick(selector, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(selector, Qt::Key_Down);
  }
};

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace tenmirel::testing
