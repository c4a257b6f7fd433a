#include "qt/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <cstdio>

namespace zorvik::qt {
namespace {

// The command-line options QApplication reads itself, with the X11 platform's:
// accepted here so that the window opens as they say. Each takes a value
// unless marked otherwise.
struct QtOption {
  const char* name;
  bool takes_value;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true},
    {"qwindowtitle", true},    {"title", true},
    {"qwindowicon", true},     {"icon", true},
    {"session", true},         {"reverse", false},
    {"qmljsdebugger", true},   {"style", true},
    {"stylesheet", true},      {"widgetcount", false},
    {"display", true},         {"name", true},
    {"sync", false},           {"nograb", false},
    {"dograb", false},
};

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

std::optional<int> AnswerCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  // Qt's options are single words after one dash (-style); so are ours when
  // given that way (-help).
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QStringLiteral(
      "Projects the rent of a lease that rises by a fixed percentage every\n"
      "year, in a window in Simplified Chinese. See zorvik(1)."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(
      {QStringLiteral("v"), QStringLiteral("version")},
      QStringLiteral("Show the version and exit."));
  parser.addOption(help);
  parser.addOption(version);
  for (const QtOption& qt_option : kQtOptions) {
    QCommandLineOption option(QString::fromLatin1(qt_option.name));
    if (qt_option.takes_value) option.setValueName(QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  const QString program = QStringLiteral("zorvik");
  const QString hint =
      QStringLiteral("Try '%1 --help' for more information.\n").arg(program);
  if (!parser.parse(arguments)) {
    Print(stderr,
          program + QStringLiteral(": ") + parser.errorText() + u'\n' + hint);
    return 2;
  }
  if (!parser.positionalArguments().isEmpty()) {
    Print(stderr, QStringLiteral("%1: unexpected argument '%2'; Zorvik reads "
                                 "no files.\n")
                          .arg(program, parser.positionalArguments().first()) +
                      hint);
    return 2;
  }
  if (parser.isSet(help)) {
    QString usage = parser.helpText();
    // Its first line names the program as it was started (a full path,
    // perhaps); the usage line reads better with the command's name.
    usage.replace(0, usage.indexOf(u'\n'),
                  QStringLiteral("Usage: %1 [options]").arg(program));
    Print(stdout,
          usage + QStringLiteral("\nQt's own options, such as -style NAME "
                                 "and -platform NAME, are accepted too.\n"));
    return 0;
  }
  if (parser.isSet(version)) {
    Print(stdout, QStringLiteral("Zorvik " ZORVIK_VERSION "\n"));
    return 0;
  }
  return std::nullopt;
}

}  // namespace zorvik::qt
