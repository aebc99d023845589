// Keeps libraries lying in the program's own folder or the current folder
// (the temporary folder, for the temporary copy) out of the program.
#pragma once

// Limits later library loads to the system folder where the system offers
// that, and takes the current folder out of the search in any case.
void RestrictLibrarySearch();
