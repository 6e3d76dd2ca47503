// The look-up lists filled by the real searches while the operator types:
// whatever the order in which the batches of the searches arrive between
// the keys, a list ends with exactly the lines of the last search, in order,
// and no line of a search that a later key replaced.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <functional>
#include <QThread>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <random>
#include <string>
#include <vector>

#include "app/entry_adapter.h"
#include "app/main_window.h"
#include "core/search/search_scheduler.h"
#include "core/search/searches.h"
#include "platform/cp1250.h"
#include "platform/dispatcher.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "tests/support/message_recorder.h"
#include "tests/support/paint_counters.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

template <class Fn>
bool eventually(Fn&& condition, int ms = 30000) {
  for (int waited = 0; !condition(); waited += 5) {
    if (waited >= ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

void typeKey(QWidget* w, QChar c) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent e(type, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &e);
  }
}

Lines shown(const SideList* list) {
  Lines out;
  for (int r = 0; r < list->count(); ++r) out.push_back(list->line(r));
  return out;
}

// A line wider than the list is reached by scrolling, as in a list box: the
// rows of one size take the width of the widest line, batch after batch.
TEST(SideLists, RowsAreAsWideAsTheWidestLine) {
  SideList list;
  list.resize(200, 200);
  list.setRowHeight(18);
  list.show();
  const std::vector<std::string> first = {"Volačka [OK]", "JO70GQ-OK1ABC Petr"};
  list.appendLines(std::span(first));
  QApplication::processEvents();
  EXPECT_LE(list.rowRect(1).width(), list.viewport()->width());
  const std::string wide = "JO70GQ-OK1ABC Petr Novák (LIBEREC) - 1.1.2000 / 54 km a ještě dál";
  std::vector<std::string> second(100, "JO70GQ-OK1XYZ Jana");
  second[57] = wide;
  list.appendLines(std::span(second));
  QApplication::processEvents();
  const int needed = list.fontMetrics().horizontalAdvance(platform::toQString(wide));
  EXPECT_GE(list.rowRect(0).width(), needed);
  EXPECT_EQ(list.rowRect(100).width(), list.rowRect(0).width());
  EXPECT_GT(list.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(list.count(), 102);
  EXPECT_EQ(list.line(59), wide);
  list.clear();
  list.appendLines(std::span(first));
  QApplication::processEvents();
  EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);
}

// The lines of a long list beyond the rows its view shows change nothing on
// the screen when they come, a wider one neither; the rows take its width
// when the view is given its row. Also when the first batch left the view
// a few rows short of those it is given at once (a search's first batch
// starts with its heading), and when it only filled the screen: the rows
// then given lie below the screen, and only a bar whose slider shrinks is
// painted again.
TEST(SideLists, LinesBeyondTheShownRowsLeaveTheViewAsItIs) {
  const struct {
    int first;
    bool barsStay;
  } cases[] = {{SideListModel::kShownAhead, true}, {SideListModel::kShownAhead - 1, true},
               {SideListModel::kShownAhead - 300, true}, {40, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    SideList list;
    list.resize(200, 200);
    list.setRowHeight(18);
    list.show();
    std::vector<std::string> lines(static_cast<size_t>(c.first), "JO70GQ-OK1XYZ Jana");
    list.appendLines(std::span(lines));
    QApplication::processEvents();
    const int width = list.rowRect(0).width();

    test::PaintCounter rows, bars;
    list.viewport()->installEventFilter(&rows);
    for (QScrollBar* bar : {list.verticalScrollBar(), list.horizontalScrollBar()})
      bar->installEventFilter(&bars);
    const std::string wide = "JO70GQ-OK1ABC Petr Novák (LIBEREC) - 1.1.2000 / 54 km a ještě dál";
    std::vector<std::string> more(5000, "JO70GQ-OK1XYZ Jana");
    more[4000] = wide;
    list.appendLines(std::span(more).first(1));
    list.appendLines(std::span(more).subspan(1));
    QApplication::processEvents();
    EXPECT_EQ(rows.total, 0);
    if (c.barsStay) {
      EXPECT_EQ(bars.total, 0);
    }
    EXPECT_EQ(list.rowRect(0).width(), width);
    EXPECT_EQ(list.count(), c.first + 5000);
    EXPECT_EQ(list.lines().rowCount(), SideListModel::kShownAhead);
    EXPECT_EQ(list.verticalScrollBar()->maximum(),
              SideListModel::kShownAhead - list.viewport()->height() / 18);
    list.viewport()->update();  // a paint is seen where one is due
    list.verticalScrollBar()->setValue(1);
    QApplication::processEvents();
    EXPECT_EQ(rows.total, 1);
    EXPECT_GE(bars.total, 1);

    const int row = c.first + 4000;
    list.setCurrentRow(row);
    QApplication::processEvents();
    EXPECT_EQ(list.line(row), wide);
    EXPECT_GE(list.rowRect(row).width(), list.fontMetrics().horizontalAdvance(platform::toQString(wide)));
    EXPECT_EQ(list.rowRect(0).width(), list.rowRect(row).width());
  }
}

// Rows that come into the screen are painted: a list filled a row at a time
// shows each row as it comes, and paints nothing for those below.
TEST(SideLists, RowsThatComeIntoTheScreenArePainted) {
  SideList list;
  list.resize(200, 200);
  list.setRowHeight(18);
  list.show();
  QApplication::processEvents();
  test::PaintCounter rows;
  list.viewport()->installEventFilter(&rows);
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    const int before = rows.total;
    const bool barShown = list.verticalScrollBar()->isVisibleTo(&list);
    const std::vector<std::string> one = {"line " + std::to_string(i)};
    list.appendLines(std::span(one));
    QApplication::processEvents();
    if (list.rowRect(i).top() < list.viewport()->height()) {
      EXPECT_GT(rows.total, before);
    } else if (barShown) {  // else the bar that comes narrows the rows
      EXPECT_EQ(rows.total, before);
    }
  }
}

// A bar paints a look it has drawn lately from its picture, as the style
// draws it: the style is asked again only for a look it has not drawn (the
// slider moved or shrank, the list got shorter), and the screen shows the
// same pixels either way.
TEST(SideLists, ScrollBarsShowTheirLookAsTheStyleDrawsIt) {
  SideList list;
  test::ScrollBarCountingStyle style;
  list.resize(200, 200);
  list.setRowHeight(18);
  for (QScrollBar* bar : {list.verticalScrollBar(), list.horizontalScrollBar()})
    bar->setStyle(&style);
  list.show();
  const std::vector<std::string> lines(SideListModel::kShownAhead, "JO70GQ-OK1ABC Petr Novák (LIBEREC) - 54 km");
  list.appendLines(std::span(lines));
  QApplication::processEvents();
  QScrollBar* bar = list.verticalScrollBar();

  // What the style draws on the bar's background.
  auto drawn = [&] {
    QStyleOptionSlider o;
    o.initFrom(bar);
    o.orientation = bar->orientation();
    o.minimum = bar->minimum();
    o.maximum = bar->maximum();
    o.sliderPosition = o.sliderValue = bar->value();
    o.singleStep = bar->singleStep();
    o.pageStep = bar->pageStep();
    o.subControls = QStyle::SC_All;
    o.activeSubControls = QStyle::SC_None;
    if (bar->orientation() == Qt::Horizontal) o.state |= QStyle::State_Horizontal;
    QImage image(bar->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(bar->palette().color(bar->backgroundRole()));
    QPainter p(&image);
    style.baseStyle()->drawComplexControl(QStyle::CC_ScrollBar, &o, &p, bar);
    return image;
  };
  auto shown = [&] { return bar->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); };

  const struct {
    const char* what;
    std::function<void()> change;
    bool drawnAgain;
  } steps[] = {
      {"painted again as it was", [&] { bar->repaint(); }, false},
      {"a longer range, the slider as it was", [&] { bar->setMaximum(bar->maximum() + 5); bar->repaint(); }, false},
      {"the slider moved", [&] { bar->setValue(bar->maximum() / 2); bar->repaint(); }, true},
      {"back to the top, a look drawn before", [&] { bar->setValue(0); bar->repaint(); }, false},
      {"a short range, a long slider", [&] { bar->setMaximum(3); bar->repaint(); }, true},
      {"the long range again", [&] { bar->setMaximum(SideListModel::kShownAhead); bar->repaint(); }, false},
      {"a list of another size", [&] { list.resize(200, 150); QApplication::processEvents(); }, true},
      {"its size before", [&] { list.resize(200, 200); QApplication::processEvents(); }, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    const int before = style.bars;
    step.change();
    EXPECT_EQ(style.bars > before, step.drawnAgain);
    EXPECT_EQ(shown(), drawn());
  }
  const QImage horizontal = list.horizontalScrollBar()->grab().toImage();
  bar = list.horizontalScrollBar();
  EXPECT_EQ(horizontal.convertToFormat(QImage::Format_ARGB32_Premultiplied), drawn());
}

// A batch stands laid out, scroll bars included, once the list has taken
// it: the paint due after it is the only one, and no call queued behind
// that paint lays the bars out and paints them again. Bars still follow a
// list's size and a list shown only after its lines came.
TEST(SideLists, ABatchStandsLaidOutWithItsScrollBarsWhenTaken) {
  const std::string wide = "JO70GQ-OK1ABC Petr Novák (LIBEREC) - 1.1.2000 / 54 km a ještě dál";
  const std::vector<std::string> lines(SideListModel::kShownAhead, wide);
  auto barShown = [](const SideList& list, const QScrollBar* bar) {
    return bar->parentWidget()->isVisibleTo(&list);
  };
  SideList list;
  list.resize(200, 200);
  list.setRowHeight(18);
  list.show();
  QApplication::processEvents();
  list.appendLines(std::span(lines));
  EXPECT_TRUE(barShown(list, list.verticalScrollBar()));
  EXPECT_TRUE(barShown(list, list.horizontalScrollBar()));
  const int viewportHeight = list.viewport()->height();
  EXPECT_LE(viewportHeight, 200 - list.horizontalScrollBar()->sizeHint().height());
  EXPECT_EQ(list.verticalScrollBar()->maximum(),
            SideListModel::kShownAhead - viewportHeight / 18);

  test::PaintCounter paints;
  QApplication::processEvents();
  for (QObject* w : list.findChildren<QWidget*>()) w->installEventFilter(&paints);
  list.installEventFilter(&paints);
  const std::vector<std::string> more(5000, wide);
  list.appendLines(std::span(more));
  QApplication::processEvents();
  EXPECT_EQ(paints.total, 0);

  list.clear();
  EXPECT_FALSE(barShown(list, list.verticalScrollBar()));
  EXPECT_FALSE(barShown(list, list.horizontalScrollBar()));

  // Bars laid out by Qt itself: a list made smaller, a list shown late.
  const std::vector<std::string> few(5, "OK1XYZ");
  list.appendLines(std::span(few));
  QApplication::processEvents();
  EXPECT_FALSE(barShown(list, list.verticalScrollBar()));
  list.resize(200, 60);
  ASSERT_TRUE(eventually([&] { return barShown(list, list.verticalScrollBar()); }, 2000));
  SideList hidden;
  hidden.resize(200, 200);
  hidden.setRowHeight(18);
  hidden.appendLines(std::span(lines));
  hidden.show();
  ASSERT_TRUE(eventually([&] { return barShown(hidden, hidden.verticalScrollBar()); }, 2000));
  EXPECT_EQ(hidden.verticalScrollBar()->maximum(), SideListModel::kShownAhead - hidden.viewport()->height() / 18);
}

// A list of thousands of lines gives its view rows as it scrolls: every
// line is reached by scrolling down or by choosing its row, also lines that
// came after the view was filled.
TEST(SideLists, EveryLineOfALongListIsReachedByScrollingOrChoosing) {
  SideList list;
  list.resize(200, 200);
  list.setRowHeight(18);
  list.show();
  const std::vector<std::string> lines = [] {
    std::vector<std::string> v;
    for (int i = 0; i < 5000; ++i) v.push_back("line " + std::to_string(i));
    return v;
  }();
  list.appendLines(std::span(lines).first(64));
  list.appendLines(std::span(lines).subspan(64));
  QApplication::processEvents();
  EXPECT_EQ(list.count(), 5000);
  const QPoint bottom(1, list.viewport()->height() - 2);
  for (int turn = 0; turn < 100 && list.rowAt(bottom) != 4999; ++turn) {
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    QApplication::processEvents();
  }
  EXPECT_EQ(list.line(list.rowAt(bottom)), "line 4999");

  list.clear();
  list.appendLines(std::span(lines).first(2000));
  list.appendLines(std::span(lines).subspan(2000));
  list.setCurrentRow(3210);
  QApplication::processEvents();
  EXPECT_EQ(list.currentRow(), 3210);
  EXPECT_TRUE(list.viewport()->rect().intersects(list.rowRect(3210)));
  EXPECT_EQ(list.line(list.rowAt(list.rowRect(3210).center())), "line 3210");
}

// Places of which thousands start with "Ko", so that every search of a
// short word comes in many batches.
std::string places() {
  std::mt19937 rng(20261211);
  const char* const words[] = {"Kozel", "Kostel", "Kopec", "Koruna", "Kolín", "Lhota", "Kozák"};
  std::string out;
  for (int i = 0; i < 12000; ++i)
    out += "JO7" + std::to_string(rng() % 10) + "GQ;" + words[rng() % 7] + " " +
           std::to_string(i) + " (Semily)\r\n";
  return out;
}

// A program folder with the places above and the folders of a start, for a
// main window of its own.
struct ProgramFolders {
  ProgramFolders() {
    ::chmod(runtime.path().c_str(), 0700);
    ::setenv("VEKTRANO_HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    EXPECT_TRUE(platform::writeFileAtomic(platform::dataFile(home.path(), ".zr4"), places()));
    EXPECT_TRUE(platform::writeFileAtomic(platform::dataFile(home.path(), ".wav"), "RIFF"));
  }
  test::TempDir home, config, runtime;
};

TEST(SideLists, ShowExactlyTheLinesOfTheLastSearchWhateverArrivesBetweenTheKeys) {
  const ProgramFolders folders;
  platform::setDispatcher(platform::makeQtDispatcher());
  test::MessageRecorder rec;
  {
    TForm1 form;
    form.show();
    ASSERT_TRUE(eventually([&] { return fs::exists(folders.home.file("idx/loc/loc_KO.idx")); }));
    ASSERT_TRUE(eventually([&] { return form.vstup->isVisible(); }));
    form.RezimMestaSvatky();
    form.searches()->scheduler().setDelkaprodlevy(0);
    form.vstup->setFocus();

    std::mt19937 rng(7);
    const std::string typed = "ok1abc kozel 1";
    for (size_t i = 0; i < typed.size(); ++i) {
      typeKey(form.vstup, QChar(typed[i]));
      // Sometimes the next key comes while the batches of this one are
      // still arriving, sometimes before the first of them.
      const int wait = static_cast<int>(rng() % 4);
      if (wait == 1)
        eventually([&] { return form.wmestacentr->count() > 2; }, 2000);
      else if (wait == 2)
        eventually([&] { return form.wmestacentr->count() > 300; }, 2000);
      else if (wait == 3)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    const EntryParts& parts = form.entry()->parts();
    SearchInput in;
    in.kind = SearchKind::Lokatora;
    in.text = parts.HledaneMisto;
    in.LokatorProtistanice = parts.LokatorProtistanice;
    in.lokportable = form.log().lokportable;
    in.prefixes = IndexPrefixes::under(folders.home.path());
    in.pocitejkm = form.menu().action("pocitejkm")->isChecked();
    Lines expected;
    runSearch(in, [&](std::string_view l) { expected.emplace_back(l); });
    ASSERT_GT(expected.size(), 100u) << in.text;
    expected.erase(expected.begin());  // "**CLS**" clears the list
    const bool same = eventually([&] { return shown(form.wmestacentr) == expected; });
    ASSERT_TRUE(same)
        << form.wmestacentr->count() << " lines, " << expected.size() << " expected; first "
        << (form.wmestacentr->count() > 0 ? form.wmestacentr->line(0) : "");
    // And nothing of an earlier search comes after it.
    eventually([] { return false; }, 300);
    EXPECT_EQ(shown(form.wmestacentr), expected);
  }
  platform::setDispatcher(nullptr);
  ::unsetenv("VEKTRANO_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_RUNTIME_DIR");
}

// Holds what the search threads post until the test lets it through, in an
// order of its choosing: each thread's posts in their own order, the
// threads' posts mixed at random, as a busy main thread may meet them.
class HeldDispatcher : public platform::Dispatcher {
 public:
  void post(std::function<void()> fn) override {
    std::lock_guard lock(m_);
    held_[std::this_thread::get_id()].push_back(std::move(fn));
  }
  void invokeBlocking(std::function<void()> fn) override { fn(); }
  size_t held() {
    std::lock_guard lock(m_);
    size_t n = 0;
    for (auto& [id, q] : held_) n += q.size();
    return n;
  }
  // Runs up to n held calls on the main thread.
  void release(std::mt19937& rng, size_t n = SIZE_MAX) {
    while (n-- > 0) {
      std::function<void()> fn;
      {
        std::lock_guard lock(m_);
        std::erase_if(held_, [](const auto& e) { return e.second.empty(); });
        if (held_.empty()) return;
        auto it = std::next(held_.begin(), static_cast<long>(rng() % held_.size()));
        fn = std::move(it->second.front());
        it->second.pop_front();
      }
      fn();
    }
  }

 private:
  std::mutex m_;
  std::map<std::thread::id, std::deque<std::function<void()>>> held_;
};

TEST(SideLists, BatchesOfAReplacedSearchNeverAppearWhateverTheirOrder) {
  const ProgramFolders folders;
  test::MessageRecorder rec;
  for (unsigned seed = 1; seed <= 4; ++seed) {
    auto held = std::make_unique<HeldDispatcher>();
    HeldDispatcher& d = *held;
    platform::setDispatcher(std::move(held));
    std::mt19937 rng(seed);
    TForm1 form;
    form.show();
    form.Timer2.stop();  // the test runs the scheduler's ticks
    if (seed == 1) {
      ASSERT_TRUE(eventually([&] { return fs::exists(folders.home.file("idx/loc/loc_KO.idx")); }));
    }
    ASSERT_TRUE(eventually([&] { return form.vstup->isVisible(); }));
    form.RezimMestaSvatky();
    form.searches()->scheduler().setDelkaprodlevy(0);
    form.vstup->setFocus();
    const std::string typed = "ok1abc ko kozel 12";
    for (const char c : typed) {
      typeKey(form.vstup, QChar(c));
      form.searches()->Timer2Timer();
      // The threads post while the main thread lets through only some of
      // what they posted before.
      QThread::msleep(rng() % 20);
      d.release(rng, rng() % 3);
    }
    const EntryParts& parts = form.entry()->parts();
    SearchInput in;
    in.kind = SearchKind::Lokatora;
    in.text = parts.HledaneMisto;
    in.lokportable = form.log().lokportable;
    in.prefixes = IndexPrefixes::under(folders.home.path());
    in.pocitejkm = form.menu().action("pocitejkm")->isChecked();
    Lines expected;
    runSearch(in, [&](std::string_view l) { expected.emplace_back(l); });
    expected.erase(expected.begin());
    ASSERT_GT(expected.size(), 2u);
    ASSERT_TRUE(eventually([&] {
      form.searches()->Timer2Timer();  // a search stopped by a refresh runs again
      d.release(rng);
      return shown(form.wmestacentr) == expected;
    }, 5000))
        << "seed " << seed << ": " << form.wmestacentr->count() << " lines, " << expected.size()
        << " expected; first " << (form.wmestacentr->count() > 0 ? form.wmestacentr->line(0) : "");
    QThread::msleep(50);
    d.release(rng);
    EXPECT_EQ(shown(form.wmestacentr), expected) << "seed " << seed;
  }
  platform::setDispatcher(nullptr);
  ::unsetenv("VEKTRANO_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace vektrano
