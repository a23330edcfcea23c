#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program's own command-line options, read from the arguments as QApplication leaves them
// (it takes out Qt's own options, such as -platform and -qwindowgeometry, first):
//   --lang en|zh, also --lang=en     the language (Languages::choose)
//   --camera SOURCE                  opens the camera window on SOURCE: an http:// address of
//                                    a Motion-JPEG stream, or a camera's number or name
//   --list-cameras                   prints the cameras found, one a line, and ends
// Anything else is refused: the program would otherwise start as if it had not been given.
namespace CommandLine {

// The first argument after the program's name that is none of the program's options, or
// nothing. Example: {"lumotrix", "--lnag", "en"} gives "--lnag".
std::optional<QString> unknownArgument(const QStringList& arguments);

// The value of the last --camera, or nothing.
std::optional<QString> camera(const QStringList& arguments);
bool listCameras(const QStringList& arguments);

// How the program is started, in the language spoken now; ends with a newline.
QString usage();

}  // namespace CommandLine
