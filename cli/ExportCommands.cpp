#include "ExportCommands.h"

#include "BmpFile.h"
#include "Errors.h"
#include "PictureFile.h"

#include <exception>

namespace {

void ConvertDepth(const TExportArguments& arguments, std::ostream& out) {
    TBitmap picture = OpenPictureForEditing(arguments.Inputs.front());
    picture.SetPixelFormat(*PixelFormatOfBits(arguments.Depth));
    SaveBitmapToFile(picture, arguments.Output);
    out << arguments.Output << '\n';
}

// A failure message names the file it concerns, unless the message already does.
std::string Described(const std::string& file, const std::exception& error) {
    const std::string message = dynamic_cast<const EOutOfMemory*>(&error)
                                    ? "Out of memory, picture is too large!"
                                    : error.what();
    if (message.find(file) != std::string::npos) return message;
    return file + ": " + message;
}

} // namespace

int RunExport(const TExportArguments& arguments, std::ostream& out, std::ostream& err) {
    int status = 0;
    switch (arguments.Mode) {
    case TExportArguments::TMode::Depth:
        try {
            ConvertDepth(arguments, out);
        } catch (const std::exception& e) {
            err << "tessimap-export: " << Described(arguments.Inputs.front(), e) << '\n';
            status = 1;
        }
        break;
    case TExportArguments::TMode::Gif:
    case TExportArguments::TMode::Png:
        err << "tessimap-export: this build cannot export GIF or PNG yet\n";
        status = 1;
        break;
    }
    return status;
}
