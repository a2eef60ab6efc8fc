// An entry's notes and preview: every place that looks for them, with the files it looks at, in
// order, side by side. folder is the listed folder and name the entry's name in it.
#pragma once

#include <string>
#include <vector>

namespace foyer {

// The first of the files that exists, asked of the platform's file system in order; empty when
// none does.
std::string FirstFileOf(const std::vector<std::string>& files);

// The row's description (the first line of the first that exists): the entry's own readme
// beside it, then, for a folder, a readme or readme.txt inside it.
std::vector<std::string> DescriptionFiles(const std::string& folder, const std::string& name,
                                          bool isFolder);

// The notes the install dialog offers: a folder entry's readme.txt; for a zip file, its readme
// beside it, then its text beside it. Never the listed folder's own notes: those are about the
// category, not about what is installed.
std::vector<std::string> InstallNotesFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode);

// What the list's ReadMe button shows: as the install dialog; in a list of zips, then the listed
// folder's readme.txt and readme, which serve every zip without notes of its own (name may be
// empty when no row is selected).
std::vector<std::string> ReadmeButtonFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode);
// What the ViewMe button shows: a folder entry's viewme.bmp; in a list of zips, the zip's
// picture beside it, then the listed folder's viewme.bmp.
std::vector<std::string> ViewMeButtonFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode);

// Whether the ReadMe and ViewMe captions are enabled for a selected row: the entry's own notes
// only (a folder's files inside it; a zip's text or readme beside it), not the listed folder's,
// so a zip without notes of its own greys the caption although the button would show the
// folder's.
std::vector<std::string> ReadmeCaptionFiles(const std::string& folder, const std::string& name,
                                            bool isZipMode);
std::vector<std::string> ViewMeCaptionFiles(const std::string& folder, const std::string& name,
                                            bool isZipMode);

}  // namespace foyer
