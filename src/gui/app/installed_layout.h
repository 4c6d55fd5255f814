#pragma once

#include <QString>

namespace ampelsim::ui {

// Where an installed program keeps its read-only files (the demo junction,
// the help document, the glyphs), relative to the folder of its executable.
inline constexpr char InstalledDataFromExecutable[] = "../share/ampelsim";
// The folder below the user's data home that an installed program works in.
inline constexpr char UserWorkspaceName[] = "ampelsim";

// The read-only data folder of a program installed with its executable in
// executableDirectory; empty when the program is not installed (it runs from
// its build folder or a copied folder).
QString InstalledDataDirectory(const QString& executableDirectory);

// The start directory of the desktop program. A current directory that holds
// the demand-button glyphs is a prepared start directory and is used as it is,
// as is any current directory of a program that is not installed. An
// installed program started elsewhere (from the applications menu: $HOME or
// "/") works in <userDataHome>/ampelsim instead, so the fault store, the
// ".ist" files and printed PDFs go to the user's data folder; links there
// lead to the installed demo junction, help document and glyphs, which stay
// read-only. The folder is created when missing; links that lead to an older
// installation are renewed, files of the user's own are left alone.
QString ChooseStartDirectory(const QString& currentDirectory, const QString& executableDirectory,
                             const QString& userDataHome);

}  // namespace ampelsim::ui
