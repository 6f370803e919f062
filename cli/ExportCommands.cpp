#include "ExportCommands.h"

#include "BmpFile.h"
#include "Errors.h"
#include "GifExport.h"
#include "PictureFile.h"
#include "PngExport.h"

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
    const std::string message =
        dynamic_cast<const EOutOfMemory*>(&error) ? "Out of memory, picture is too large!" : error.what();
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
    case TExportArguments::TMode::Png: {
        const bool gif = arguments.Mode == TExportArguments::TMode::Gif;
        for (const std::string& input : arguments.Inputs) {
            const std::string output = WithExtension(input, gif ? ".gif" : ".png");
            // "map.png" would become its own export and lose the picture it holds.
            if (IsSameFile(output, input)) {
                err << "tessimap-export: " << output
                    << ": the export would replace its own input; nothing was written\n";
                status = 1;
                continue;
            }
            try {
                const TBitmap picture = OpenPictureForEditing(input);
                if (gif)
                    ExportGifFile(picture, output);
                else
                    ExportPngFile(picture, output);
                out << output << '\n';
            } catch (const std::exception& e) {
                err << "tessimap-export: " << Described(input, e) << '\n';
                status = 1;
            }
        }
        break;
    }
    }
    return status;
}
