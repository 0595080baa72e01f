#include "render_command.h"

#include "cli_files.h"
#include "move_pictures.h"
#include "routine_report.h"
#include "terminal_text.h"

#include "export/gif_writer.h"
#include "export/move_gif.h"
#include "model/reference_sidecar.h"
#include "model/save_file.h"
#include "reference_pictures.h"

#include <QBuffer>
#include <QImageWriter>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

namespace hoofer {

namespace {

struct RenderOptions {
    std::string file;
    std::string move = "0";
    std::string output;
    std::string framesDir;
    int scale = 1;
    bool once = false;
    std::string reference;  // a file, or "auto" for the routine's sidecar
    double referenceStart = 0;
    double referenceOpacity = 0.5;
    bool referenceMirror = false;
    bool startGiven = false, opacityGiven = false, mirrorGiven = false;
};

/// The reference the options ask for, or none; reports why there is none
/// when one was asked for and gives false.
bool ChosenReference(const RenderOptions &options, const TMoveList &moves, size_t index,
                     std::optional<MoveReference> &chosen)
{
    if (options.reference.empty())
        return true;
    MoveReference reference;
    if (options.reference == "auto") {
        if (options.file == kStandardStream) {
            ReportError(options.file, "--reference auto needs the routine's file, beside which its references are");
            return false;
        }
        std::string text;
        const std::string sidecar = ReferenceSidecarPath(options.file);
        if (!ReadInput(sidecar, text))
            return false;
        TMoveList copy;
        for (const auto &move : moves)
            copy.push_back(CopyMovePoses(*move));
        try {
            ApplyReferenceSidecar(text, std::filesystem::absolute(options.file).parent_path().string(), copy);
        } catch (const std::runtime_error &e) {
            ReportError(sidecar, e.what());
            return false;
        }
        if (!copy[index]->Reference) {
            ReportError(sidecar, "the move has no reference");
            return false;
        }
        reference = *copy[index]->Reference;
    } else {
        reference.file = options.reference;
    }
    if (options.startGiven)
        reference.start = options.referenceStart;
    if (options.opacityGiven)
        reference.opacity = options.referenceOpacity;
    if (options.mirrorGiven)
        reference.mirror = options.referenceMirror;
    chosen = reference;
    return true;
}

/// The folder and the files in it are named by bytes as given, so the
/// pictures are encoded in memory and written with the tool's own file code.
bool WriteFrames(const std::string &dir, const std::vector<StepPicture> &pictures, int scale)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
        ReportError(dir, "cannot create the folder" + (ec ? ": " + ec.message() : std::string()));
        return false;
    }
    const size_t digits = std::max<size_t>(4, std::to_string(pictures.size()).size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const std::string name = std::string(digits - number.size(), '0') + number + ".png";
        const std::string file = (std::filesystem::path(dir) / name).native();
        QImage image = pictures[i].image;
        if (scale > 1)
            image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QByteArray png;
        QBuffer buffer(&png);
        QImageWriter writer(&buffer, "png");
        if (!buffer.open(QIODevice::WriteOnly) || !writer.write(image)) {
            ReportError(file, "cannot encode the picture: " + writer.errorString().toStdString());
            return false;
        }
        if (const std::string why = SaveFileAtomically(file, png.toStdString()); !why.empty()) {
            ReportError(file, "cannot write: " + why);
            return false;
        }
    }
    return true;
}

int RunRender(const RenderOptions &options)
{
    std::string data;
    TMoveList moves;
    if (!ReadRoutineFile(options.file, data, moves))
        return 1;
    std::string why;
    const auto index = FindMove(moves, options.move, why);
    if (!index) {
        ReportError(options.file, why);
        return 1;
    }
    const THFMove &move = *moves[*index];
    if (move.Frames.empty()) {
        ReportError(options.file, "move " + std::to_string(*index) + " (\"" + DisplayName(move.MoveName)
                                      + "\") has no key frames: there is nothing to draw");
        return 1;
    }
    std::optional<MoveReference> reference;
    if (!ChosenReference(options, moves, *index, reference))
        return 1;
    StepBackdrop gifBackdrop, pngBackdrop;
    try {
        // Each opens the video: only for the pictures asked for.
        if (reference && !options.output.empty())
            gifBackdrop = ReferenceBackdrops(move, *reference, true);
        if (reference && !options.framesDir.empty())
            pngBackdrop = ReferenceBackdrops(move, *reference, false);
    } catch (const std::runtime_error &e) {
        ReportError(reference->file, e.what());
        return 1;
    }
    // The same writer as the editor's File > Export Move as GIF.
    if (options.output == kStandardStream) {
        // As download's "-": the GIF goes to standard output.
        try {
            if (!WriteOutput(options.output, EncodeMoveGif(move, options.scale, !options.once, gifBackdrop)))
                return 1;
        } catch (const GifWriteError &e) {
            ReportError(options.output, e.what());
            return 1;
        }
    } else if (!options.output.empty()) {
        if (const std::string why = WriteMoveGif(move, options.output, options.scale, !options.once, gifBackdrop);
            !why.empty()) {
            std::cerr << TerminalText(options.output + ": " + why) << '\n';
            return 1;
        }
    }
    if (!options.framesDir.empty()
        && !WriteFrames(options.framesDir, RecordMovePass(move, pngBackdrop), options.scale))
        return 1;
    return 0;
}

} // namespace

void AddRenderCommand(CLI::App &app, CommandSet &commands)
{
    auto options = std::make_shared<RenderOptions>();
    CLI::App *render = app.add_subcommand(
        "render", "Draw one pass of a move as an animated GIF or as numbered PNGs");
    render->footer("The pictures are the steps the editor's Play Move draws, with its pauses: 70 ms a\n"
                   "step, 140 ms for the last step of each transition. The key-frame drawing that\n"
                   "opens a pass is replaced at once in the editor and is left out. The GIF loops.");
    render->add_option("FILE", options->file, "Routine file (.raw); - reads standard input")
        ->required()
        ->type_name("");
    render->add_option("-m,--move", options->move,
                       "The move: its index as info lists it, or its name (default: 0)")
        ->type_name("N|NAME");
    CLI::Option *output = render->add_option("-o,--output", options->output, "Animated GIF to write; - writes standard output")
                                 ->type_name("OUT.gif");
    CLI::Option *frames = render->add_option("--frames", options->framesDir,
                                             "Folder to write the pictures into as 0001.png, 0002.png, ...")
                                 ->type_name("DIR");
    render->add_option("--scale", options->scale, "Draw every pixel as a KxK block (default: 1)")
        ->check(CLI::Range(1, 16))
        ->type_name("K");
    render->add_flag("--once", options->once, "Play the GIF once instead of looping");
    render->add_option("--reference", options->reference,
                       "A video or picture behind the figure, each step on the frame at its time; auto: the "
                       "move's reference in the routine's .reference.json")
        ->type_name("FILE|auto");
    CLI::Option *start = render->add_option("--reference-start", options->referenceStart,
                                            "Key frame 1's time on the reference, in seconds (default: 0)")
                             ->check(CLI::NonNegativeNumber)
                             ->type_name("SECONDS");
    CLI::Option *opacity = render->add_option("--reference-opacity", options->referenceOpacity,
                                              "How strongly the reference shows, 0 to 1 (default: 0.5)")
                               ->check(CLI::Range(0.0, 1.0))
                               ->type_name("0..1");
    CLI::Option *mirror = render->add_flag("--reference-mirror", options->referenceMirror,
                                           "Draw the reference mirrored left to right");
    // At least one of the two outputs.
    render->callback([output, frames, options, start, opacity, mirror] {
        options->startGiven = start->count() > 0;
        options->opacityGiven = opacity->count() > 0;
        options->mirrorGiven = mirror->count() > 0;
        if (output->count() == 0 && frames->count() == 0)
            throw CLI::RequiredError("-o,--output or --frames");
        if (options->framesDir == kStandardStream)
            throw CLI::ValidationError("--frames", "- is standard output, which cannot hold numbered pictures: "
                                                   "give a folder");
    });
    commands.Add(render, [options] { return RunRender(*options); });
}

} // namespace hoofer
