#include "app/ExamplesMenu.h"

#include <QAction>
#include <QFile>
#include <QHash>
#include <QMenu>

#include <utility>

// The resource file is compiled into a static library, whose registration
// the linker may drop; registering it here keeps the samples in the
// program. Q_INIT_RESOURCE must be used outside any namespace.
static void registerExampleResources() { Q_INIT_RESOURCE(examples); }

namespace tesmora::app {

namespace {

constexpr ExampleEntry kExamples[] = {
    {"Система уравнений", "linear_system.tsm"},
    {"Модель Леонтьева", "leontief.tsm"},
    {"Расстояние до плоскости", "plane_distance.tsm"},
    {nullptr, nullptr},
    {"Простые числа/Вывод на экран", "primes_screen.tsm"},
    {"Простые числа/Печать в файл", "primes_file.tsm"},
    {"Простые числа/Решето Эратосфена", "sieve.tsm"},
    {"Криптоалгоритм RSA", "rsa.tsm"},
    {"Числа Фибоначчи", "fibonacci.tsm"},
    {nullptr, nullptr},
    {"Урок рисования/Непрерывный график", "continuous_graph.tsm"},
    {"Урок рисования/Разрывный график", "piecewise_graph.tsm"},
    {"Урок рисования/Фигура Лиссажу", "lissajous.tsm"},
    {"Урок рисования/Область под графиком", "area_under_graph.tsm"},
    {"Тренд курса $ в 1992 г", "dollar_trend.tsm"},
    {"Касательный портфель", "tangent_portfolio.tsm"},
    {nullptr, nullptr},
    {"Проверка ЦПТ", "clt.tsm"},
    {"Биномиальная модель/Курс акции", "stock_path.tsm"},
    {"Биномиальная модель/Цена опциона - 1", "option_price_1.tsm"},
    {"Биномиальная модель/Цена опциона - 2", "option_price_2.tsm"},
    {nullptr, nullptr},
    {"Критерий Пирсона/Нормальный закон", "pearson_normal.tsm"},
    {"Критерий Пирсона/Биномиальный закон", "pearson_binomial.tsm"},
    {"Линейная регрессия", "linear_regression.tsm"},
    {nullptr, nullptr},
    {"Вложенные циклы", "nested_loops.tsm"},
    {nullptr, nullptr},
    {"Экзамен/Задача: определитель", "exam/determinant.tsm"},
    {"Экзамен/Задача: система уравнений", "exam/system.tsm"},
    {"Экзамен/Задача: схема Бернулли", "exam/probability.tsm"},
    {"Экзамен/Сборка экзамена", "exam/exam.tsm"},
};

const QString kResourceFolder = QStringLiteral(":/examples/");

}  // namespace

std::span<const ExampleEntry> exampleEntries() { return kExamples; }

QString exampleText(const QString& file) {
  registerExampleResources();
  QFile resource(kResourceFolder + file);
  if (!resource.open(QIODevice::ReadOnly)) return QString();
  QString text = QString::fromUtf8(resource.readAll());
  text.remove(QLatin1Char('\r'));
  return text;
}

QMenu* createExamplesMenu(QWidget* parent,
                          std::function<void(const QString& text)> load) {
  auto* menu = new QMenu(QStringLiteral("Пр&имеры"), parent);
  // Entries of one submenu sit next to each other in the table; the
  // submenu is made when its first entry comes.
  QHash<QString, QMenu*> submenus;
  for (const ExampleEntry& entry : kExamples) {
    if (entry.menuPath == nullptr) {
      menu->addSeparator();
      continue;
    }
    const QString path = QString::fromUtf8(entry.menuPath);
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    QMenu* home = menu;
    if (slash >= 0) {
      const QString title = path.left(slash);
      QMenu*& submenu = submenus[title];
      if (submenu == nullptr) submenu = menu->addMenu(title);
      home = submenu;
    }
    QAction* action = home->addAction(path.mid(slash + 1));
    const QString file = QString::fromUtf8(entry.file);
    QObject::connect(action, &QAction::triggered, menu,
                     [load, file] { load(exampleText(file)); });
  }
  return menu;
}

}  // namespace tesmora::app
