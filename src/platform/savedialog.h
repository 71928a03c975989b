#pragma once

#include <QString>

// The settings of one run of the save dialog.
struct SaveDialogOptions
{
    QString title;
    QString defaultSuffix; // added when the user types a name without one
    QString filter;        // "XML File|*xml" style: description, bar, pattern
    int filterIndex = 1;
};

// Asks the user for the path of a file to write; no overwrite prompt.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;

    // Runs the dialog modally; true when the user confirmed a name.
    virtual bool run(const SaveDialogOptions& options) = 0;
    // The chosen path, with the default suffix added when the name had none.
    virtual QString fileName() const = 0;
    // Empties the name field for the next run.
    virtual void clearFileName() = 0;
};
