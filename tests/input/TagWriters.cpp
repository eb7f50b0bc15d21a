#include "TagWriters.h"

#include "TestAudio.h"

#include <cstdio>
#include <fstream>

namespace orvalin::test {
namespace {

TestTone shortTone()
{
    TestTone tone;
    tone.seconds = 0.1;
    return tone;
}

bool encodeMp3(const std::string& path, const std::string& tagOptions)
{
    const std::string wav = path + ".wav";
    writeWav(wav, shortTone());
    const bool encoded = runCommand("lame --quiet " + tagOptions + " " + shellQuote(wav) + " " +
                                    shellQuote(path)) == 0;
    std::remove(wav.c_str());
    return encoded;
}

// mutagen's own tool names the interpreter mutagen is installed for; a
// python3 found earlier on the search path may lack the module.
std::string mutagenPython()
{
    std::string tool = captureCommand("command -v mid3v2");
    while (!tool.empty() && (tool.back() == '\n' || tool.back() == '\r'))
        tool.pop_back();
    std::ifstream script(tool);
    std::string firstLine;
    std::getline(script, firstLine);
    if (firstLine.starts_with("#!"))
        return firstLine.substr(2);
    return "python3";
}

std::string optionWithText(const std::string& option, const std::string& text)
{
    return text.empty() ? std::string() : " " + option + " " + shellQuote(text);
}

} // namespace

bool makeUntaggedMp3(const std::string& path)
{
    return encodeMp3(path, "");
}

bool tagWithMutagen(const std::string& path, int majorVersion, int encoding,
                    const std::string& artist, const std::string& title, bool withId3v1)
{
    static const std::string script =
        "import sys\n"
        "from mutagen.id3 import ID3, TPE1, TIT2\n"
        "path, version, encoding, artist, title, v1 = sys.argv[1:]\n"
        "tags = ID3()\n"
        "if artist: tags.add(TPE1(encoding=int(encoding), text=[artist]))\n"
        "if title: tags.add(TIT2(encoding=int(encoding), text=[title]))\n"
        "tags.save(path, v2_version=int(version), v1=2 if v1 == '1' else 0)\n";
    return runCommand(mutagenPython() + " -c " + shellQuote(script) + " " + shellQuote(path) + " " +
                      std::to_string(majorVersion) + " " + std::to_string(encoding) + " " +
                      shellQuote(artist) + " " + shellQuote(title) + " " +
                      (withId3v1 ? "1" : "0")) == 0;
}

std::string readWithMutagen(const std::string& path)
{
    static const std::string script =
        "import sys\n"
        "from mutagen.id3 import ID3\n"
        "tags = ID3(sys.argv[1])\n"
        "text = lambda id: str(tags[id]) if id in tags else ''\n"
        "sys.stdout.write(text('TPE1') + '|' + text('TIT2'))\n";
    return captureCommand(mutagenPython() + " -c " + shellQuote(script) + " " + shellQuote(path) +
                          " 2>/dev/null");
}

bool tagWithId3v2Tool(const std::string& path, const std::string& artist, const std::string& title,
                      bool id3v1Only)
{
    return runCommand(std::string("id3v2") + (id3v1Only ? " -1" : "") + optionWithText("-a", artist) +
                      optionWithText("-t", title) + " " + shellQuote(path)) == 0;
}

bool tagWithEyeD3(const std::string& path, const std::string& options, const std::string& artist,
                  const std::string& title)
{
    return runCommand("eyeD3 -Q " + options + optionWithText("-a", artist) + optionWithText("-t", title) +
                      " " + shellQuote(path)) == 0;
}

bool encodeWithLameTags(const std::string& path, const std::string& artist, const std::string& title)
{
    return encodeMp3(path, optionWithText("--ta", artist) + optionWithText("--tt", title));
}

bool copyWithFfmpegMetadata(const std::string& from, const std::string& to, int id3v2Version,
                            const std::string& artist, const std::string& title)
{
    std::string metadata;
    if (!artist.empty())
        metadata += " -metadata " + shellQuote("artist=" + artist);
    if (!title.empty())
        metadata += " -metadata " + shellQuote("title=" + title);
    return runCommand("ffmpeg -loglevel error -y -i " + shellQuote(from) + " -c copy -id3v2_version " +
                      std::to_string(id3v2Version) + metadata + " " + shellQuote(to)) == 0;
}

} // namespace orvalin::test
