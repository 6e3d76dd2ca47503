// The entry line as the operator drives it: key events sent to a real
// QLineEdit go through the adapter's filter, and the line, the labels, the
// chart and the status panels show what the parser decided; Enter writes the
// log and the crash backup on a temporary program folder.
#include "app/entry_adapter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

const std::string kTitleLine =
    "JO70GQ;poř.;čas;RV;Volačka;RP;Lokátor;km;pozn;;;;;;;;;;;;;;\r\n";

QString q(const std::string& cp1250) { return platform::toQString(cp1250); }
std::string s(const QString& text) { return platform::fromQString(text); }

// Qt key code of a typed character; the text carries the character itself.
int keyOf(char c) {
  if (c == ' ') return Qt::Key_Space;
  if (c >= '0' && c <= '9') return Qt::Key_0 + (c - '0');
  if (c >= 'a' && c <= 'z') return Qt::Key_A + (c - 'a');
  if (c >= 'A' && c <= 'Z') return Qt::Key_A + (c - 'A');
  if (c == ':') return Qt::Key_Colon;
  if (c == ',') return Qt::Key_Comma;
  if (c == '.') return Qt::Key_Period;
  if (c == '/') return Qt::Key_Slash;
  if (c == '-') return Qt::Key_Minus;
  return Qt::Key_unknown;
}

void send(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers m = Qt::NoModifier,
          const QString& text = {}, bool autoRepeat = false) {
  QKeyEvent e(type, key, m, text, autoRepeat);
  QApplication::sendEvent(w, &e);
}

void click(QWidget* w, int key, Qt::KeyboardModifiers m = Qt::NoModifier,
           const QString& text = {}) {
  send(w, QEvent::KeyPress, key, m, text);
  send(w, QEvent::KeyRelease, key, m, text);
}

// Types a cp1250 text key by key, as keyClicks would.
void type(QWidget* w, const std::string& text) {
  for (char c : text) click(w, keyOf(c), Qt::NoModifier, q(std::string(1, c)));
}

class EntryAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHome_ = std::getenv("VEKTRANO_HOME") ? std::getenv("VEKTRANO_HOME") : "";
    qputenv("VEKTRANO_HOME", QByteArray::fromStdString(home.path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    platform::setProgramFolder(home.path());
    previousHandler_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages.push_back(m.text);
      return platform::Answer::Ok;
    });

    log.SaveFileName = home.file("denik.qvl");
    window.resize(700, 300);
    vstup = new QLineEdit(&window);
    vstup->setGeometry(2, 200, 680, 50);
    Label1 = new QLabel(&window);
    Label1->setGeometry(240, 75, 300, 65);
    volackalabel = new QLabel(&window);
    volackalabel->setGeometry(2, 141, 680, 60);
    azimut = new AzimutChart(&window);
    azimut->setGeometry(630, 1, 59, 74);
    panel1 = new QLabel(&window);
    panel2 = new QLabel(&window);

    hooks.entryOptions = [this] { return options; };
    hooks.storeOptions = [this] { return storeOptions; };
    hooks.now = [] { return platform::DateTime{2026, 12, 9, 7, 5, 9, 0}; };
    hooks.armSearches = [this](const std::vector<ScheduledSearch>& v) {
      armed.insert(armed.end(), v.begin(), v.end());
    };
    hooks.contactStored = [this](const StoreResult& r) { stored.push_back(r); };
    options.keyboard = {true, false};
  }
  void TearDown() override {
    platform::setMessageHandler(previousHandler_);
    platform::setProgramFolder({});
    if (previousHome_.empty())
      qunsetenv("VEKTRANO_HOME");
    else
      qputenv("VEKTRANO_HOME", QByteArray::fromStdString(previousHome_));
  }

  EntryAdapter& adapter() {
    if (!adapter_) {
      adapter_ = std::make_unique<EntryAdapter>(
          EntryWidgets{vstup, Label1, volackalabel, azimut, panel1, panel2}, log, hooks);
    }
    return *adapter_;
  }
  std::string file(const std::string& name) const {
    return platform::readWholeFile(home.file(name)).value_or("<missing>");
  }
  bool armedKind(SearchKind kind, const std::string& text) const {
    for (const auto& a : armed)
      if (a.kind == kind && a.text == text) return true;
    return false;
  }

  test::TempDir home, config;
  QWidget window;
  QLineEdit* vstup = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* volackalabel = nullptr;
  AzimutChart* azimut = nullptr;
  QLabel* panel1 = nullptr;
  QLabel* panel2 = nullptr;
  LogDocument log;
  EntryHooks hooks;
  EntryOptions options;
  StoreOptions storeOptions;
  std::vector<ScheduledSearch> armed;
  std::vector<StoreResult> stored;
  std::vector<std::string> messages;

 private:
  std::unique_ptr<EntryAdapter> adapter_;
  std::string previousHome_;
  platform::MessageHandler previousHandler_;
};

TEST_F(EntryAdapterTest, TypedLineIsRewrittenAndShown) {
  adapter();
  type(vstup, "59 57 jo70po 12:34 petr");
  EXPECT_EQ(s(vstup->text()), "59 57 JO70PO 12:34:00 Petr");
  EXPECT_EQ(vstup->cursorPosition(), vstup->text().size());
  EXPECT_EQ(s(Label1->text()), "54 km");
  EXPECT_TRUE(Label1->font().bold());
  EXPECT_EQ(azimut->azimut(), 100);
  EXPECT_EQ(azimut->title(), QString::fromUtf8(u8"100 stup."));
  EXPECT_EQ(s(panel2->text()),
            " Čas: 12:34:00 | RV: 59 | RP: 57 | LOK: JO70PO |   VOL: Petr");
  const EntryParts& p = adapter().parts();
  EXPECT_EQ(p.LokatorProtistanice, "JO70PO");
  EXPECT_EQ(p.CasSpojeni, "12:34:00");
  EXPECT_TRUE(armedKind(SearchKind::Mesta, "JO70PO"));
  ASSERT_FALSE(armed.empty());
  EXPECT_EQ(armed.back().kind, SearchKind::Duplyo);
  EXPECT_EQ(armed.back().text, "PETR");
  EXPECT_EQ(armed.back().locator, "JO70PO");

  // Taking the locator out again: no distance, no azimuth.
  vstup->setText(q("59 57 Petr"));
  click(vstup, Qt::Key_End);
  EXPECT_EQ(s(Label1->text()), "???");
  EXPECT_EQ(azimut->azimut(), std::nullopt);
  EXPECT_EQ(azimut->title(), QString("Azimut"));
}

TEST_F(EntryAdapterTest, SpaceInEmptyLineStartsWithReport) {
  adapter();
  click(vstup, Qt::Key_Space, Qt::NoModifier, " ");
  EXPECT_EQ(s(vstup->text()), "59 ");
  EXPECT_EQ(vstup->cursorPosition(), 3);
}

TEST_F(EntryAdapterTest, AutoRepeatReleasesAreIgnored) {
  adapter();
  type(vstup, "jo70p");
  const QString before = panel2->text();
  // A held "o": the first press, then X11's release/press pairs.
  send(vstup, QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o");
  for (int i = 0; i < 3; ++i) {
    send(vstup, QEvent::KeyRelease, Qt::Key_O, Qt::NoModifier, "o", true);
    EXPECT_EQ(s(Label1->text()), "???");
    EXPECT_EQ(panel2->text(), before);
    send(vstup, QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, {}, true);
    send(vstup, QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o", true);
  }
  EXPECT_EQ(s(vstup->text()), "Jo70po");
  send(vstup, QEvent::KeyRelease, Qt::Key_O, Qt::NoModifier, "o");
  EXPECT_EQ(s(vstup->text()), "JO70PO");
  EXPECT_EQ(s(Label1->text()), "54 km");
}

TEST_F(EntryAdapterTest, EscTwiceBringsTheLineBack) {
  int gridFocused = 0;
  hooks.focusGrid = [&] { ++gridFocused; };
  std::vector<SidePanels> panels;
  hooks.applyPanels = [&](const SidePanels& p) { panels.push_back(p); };
  adapter();
  type(vstup, "59 Petr Novák");
  panel1->setText("3 duplicity");
  panels.clear();
  send(vstup, QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_EQ(s(panel2->text()), log.panel2);  // the statistics line
  ASSERT_FALSE(panels.empty());
  EXPECT_EQ(panels[0].Denik, true);
  EXPECT_EQ(panels[0].wvolacky, false);
  send(vstup, QEvent::KeyRelease, Qt::Key_Escape);
  EXPECT_EQ(vstup->text(), QString());
  EXPECT_EQ(panel1->text(), QString());
  EXPECT_EQ(gridFocused, 1);
  EXPECT_EQ(adapter().state().klice.volacky, "q");

  click(vstup, Qt::Key_Escape);
  EXPECT_EQ(s(vstup->text()), "59 Petr Novák");
  EXPECT_EQ(vstup->cursorPosition(), vstup->text().size());
}

TEST_F(EntryAdapterTest, CtrlSpaceAndF7DeleteTheTimes) {
  struct Case {
    const char* binding;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
  } cases[] = {
      {"Ctrl+Space", Qt::Key_Space, Qt::ControlModifier, " "},
      {"F7", Qt::Key_F7, Qt::NoModifier, {}},
  };
  adapter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.binding);
    vstup->clear();
    type(vstup, "59 57 12:34 Petr");
    ASSERT_EQ(s(vstup->text()), "59 57 12:34:00 Petr");
    ASSERT_EQ(adapter().parts().CasSpojeni, "12:34:00");
    click(vstup, c.key, c.modifiers, c.text);
    EXPECT_EQ(s(vstup->text()), "59 57 Petr");
    EXPECT_EQ(adapter().parts().CasSpojeni, "");
    EXPECT_EQ(s(panel2->text()), " RV: 59 | RP: 57 |   VOL: Petr");
  }
}

TEST_F(EntryAdapterTest, EnterStoresTheContactInTheLogAndTheBackup) {
  adapter();
  type(vstup, "59 57 jo70po 12:34 petr");
  click(vstup, Qt::Key_Return);

  const std::string expected = kTitleLine + "JO70GQ;1;12:34:00;59;Petr;57;JO70PO;54;;\r\n";
  EXPECT_EQ(file("denik.qvl"), expected);
  EXPECT_EQ(file("zaloha.qvl"), expected);
  ASSERT_EQ(log.Denik.rowCount(), 2);
  EXPECT_EQ(log.Denik.row(1),
            (Grid::Row{"1", "12:34:00", "59", "Petr", "57", "JO70PO", "54", ""}));
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].currentRow, 1);
  EXPECT_TRUE(stored[0].nejdelsi);
  EXPECT_EQ(vstup->text(), QString());
  EXPECT_EQ(s(panel2->text()), log.panel2);
  EXPECT_FALSE(log.panel2.empty());
  EXPECT_TRUE(messages.empty());

  // The keypad's Enter stores too; the next contact starts every search.
  armed.clear();
  type(vstup, "55 JN99JM 13:05 Jana");
  EXPECT_TRUE(armedKind(SearchKind::Mesta, "JN99JM"));
  click(vstup, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(file("denik.qvl"), expected + "JO70GQ;2;13:05:00;55;Jana;;JN99JM;329;;\r\n");
  EXPECT_EQ(file("denik.bak"), expected);
  EXPECT_EQ(stored.size(), 2u);

  // Esc in the empty line brings back the contact just stored.
  click(vstup, Qt::Key_Escape);
  EXPECT_EQ(s(vstup->text()), "55 JN99JM 13:05:00 Jana");
}

TEST_F(EntryAdapterTest, ShortLineIsRefusedAndNothingChanges) {
  adapter();
  type(vstup, "59 Pe");
  click(vstup, Qt::Key_Return);
  EXPECT_EQ(s(panel2->text()), "! Málo znaků, ještě piš !");
  EXPECT_EQ(s(vstup->text()), "59 Pe");
  EXPECT_EQ(log.Denik.rowCount(), 1);
  EXPECT_TRUE(stored.empty());
  EXPECT_FALSE(platform::fileExists(home.file("denik.qvl")));
  EXPECT_FALSE(platform::fileExists(home.file("zaloha.qvl")));
}

TEST_F(EntryAdapterTest, ReleaseDuringAHandlerRunsAfterIt) {
  // The window refreshes after a store; a key typed meanwhile (as a message
  // box's loop would deliver it) must not run inside it.
  std::vector<std::string> order;
  hooks.contactStored = [&](const StoreResult&) {
    order.push_back("stored");
    vstup->setText(q("jo80"));
    send(vstup, QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, "0");
    send(vstup, QEvent::KeyRelease, Qt::Key_0, Qt::NoModifier, "0");
    order.push_back(s(Label1->text()));
  };
  hooks.armSearches = [&](const std::vector<ScheduledSearch>&) {};
  adapter();
  type(vstup, "59 JO70PO Petr");
  click(vstup, Qt::Key_Return);
  EXPECT_EQ(order, (std::vector<std::string>{"stored", "54 km"}));
  QCoreApplication::processEvents();
  EXPECT_EQ(s(Label1->text()), "???");  // the queued release parsed "jo80"
  EXPECT_EQ(file("denik.qvl").substr(kTitleLine.size()), "JO70GQ;1;07:05:09;59;Petr;;JO70PO;54;;\r\n");
}

// Calls fn for every key press the watched widget gets (a list's own
// handler, which gives the focus back to the line).
class OnKeyPress : public QObject {
 public:
  explicit OnKeyPress(std::function<void(int key)> fn) : fn_(std::move(fn)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) fn_(static_cast<QKeyEvent*>(e)->key());
    return false;
  }

 private:
  std::function<void(int)> fn_;
};

// A key that a menu, a message box or a list took lands on the line when
// the focus comes back: only its release arrives, and nothing happens.
TEST_F(EntryAdapterTest, KeysThatAMenuADialogOrAListTookNeverReachTheLine) {
  adapter();
  window.show();
  auto activate = [&] {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  };
  activate();
  vstup->setFocus();
  type(vstup, "55 55 menuleak");
  const QString half = vstup->text();
  auto nothingStored = [&](const char* how) {
    EXPECT_TRUE(stored.empty()) << how;
    EXPECT_EQ(vstup->text(), half) << how;
    EXPECT_FALSE(platform::fileExists(home.file("denik.qvl"))) << how;
  };

  // An item of a menu opened with the mouse, chosen with the arrows and Return.
  QMenu menu(&window);
  bool chosen = false;
  QObject::connect(menu.addAction(q("Uložit")), &QAction::triggered, [&] { chosen = true; });
  menu.popup(window.mapToGlobal(QPoint(20, 20)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_Down);
  QTest::keyPress(&menu, Qt::Key_Return);
  EXPECT_TRUE(chosen);
  EXPECT_FALSE(menu.isVisible());
  QTest::keyRelease(vstup, Qt::Key_Return);
  nothingStored("menu");

  // A message box closed with Return.
  QMessageBox box(QMessageBox::Information, q("Zpráva"), q("Hotovo."), QMessageBox::Ok, &window);
  box.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTest::keyPress(&box, Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  QTest::keyRelease(vstup, Qt::Key_Return);
  nothingStored("message box");

  // A list line taken with Space or Return: the list gives the line the
  // focus on the press.
  activate();
  QListWidget list(&window);
  list.addItem(q("OK1ABC"));
  list.show();
  OnKeyPress back([&](int) { vstup->setFocus(); });
  list.installEventFilter(&back);
  for (int key : {Qt::Key_Space, Qt::Key_Return}) {
    list.setFocus();
    QTest::keyPress(&list, static_cast<Qt::Key>(key));
    EXPECT_TRUE(vstup->hasFocus());
    QTest::keyRelease(vstup, static_cast<Qt::Key>(key));
  }
  nothingStored("list");

  // Pressed and released in the line, Return stores; and a stray Esc from a
  // menu does not bring the stored text back into the empty line.
  QTest::keyClick(vstup, Qt::Key_Return);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(vstup->text(), QString());
  menu.popup(window.mapToGlobal(QPoint(20, 20)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyPress(&menu, Qt::Key_Escape);
  EXPECT_FALSE(menu.isVisible());
  QTest::keyRelease(vstup, Qt::Key_Escape);
  EXPECT_EQ(vstup->text(), QString());
  // Esc typed in the line itself still does.
  QTest::keyClick(vstup, Qt::Key_Escape);
  EXPECT_EQ(s(vstup->text()), "55 55 Menuleak");
}

// A key the line had the focus for still acts on release when a shortcut
// took its press (the command put a text into the line: it is parsed).
TEST_F(EntryAdapterTest, ReleaseOfAShortcutPressedInTheLineParsesIt) {
  adapter();
  QAction put(&window);
  put.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  window.addAction(&put);
  QObject::connect(&put, &QAction::triggered, [&] { vstup->setText(q("jo70po")); });
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  vstup->setFocus();
  QTest::keyClick(vstup, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(s(vstup->text()), "JO70PO");
}

TEST_F(EntryAdapterTest, LabelAndLineFitTheirWidths) {
  options.secondstation = true;
  options.threestation = true;
  options.loksecondary = "JN99JM";
  options.lokthree = "JO80GQ";
  Label1->resize(120, 65);
  adapter();
  type(vstup, "JO70PO");
  const QFontMetrics fm(Label1->font());
  EXPECT_LE(fm.horizontalAdvance(Label1->text()) + 20, Label1->width());
  EXPECT_LT(Label1->font().pointSize(), 40);
  EXPECT_TRUE(s(Label1->text()).starts_with("54"));

  // A long line gets smaller type, never below 10; an empty one 30 again.
  vstup->setText(QString(120, QChar('W')));
  EXPECT_LT(vstup->font().pointSize(), 30);
  EXPECT_GE(vstup->font().pointSize(), 10);
  vstup->setText(QString("59"));
  EXPECT_EQ(vstup->font().pointSize(), 30);
}

}  // namespace
}  // namespace vektrano
