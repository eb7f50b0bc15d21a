#include "ControllerScript.h"

#include "Script.h"

namespace orvalin::swfgen {

using namespace script;

namespace {

Expr var(const char* name) { return variable(name); }
Expr stream() { return variable("stream"); }

// Lamps follow the wanted state even before the stream has arrived; a stream
// that cannot be found puts out every lamp and veils the buttons.
void showFunction(Actions& a)
{
    function(a, "show", [](Actions& f) {
        const Expr working = negate(var("failed"));
        setMember(f, var(kPlayLampName), "_visible", both(var("playing"), working));
        setMember(f, var(kStopLampName), "_visible", both(negate(var("playing")), working));
        setMember(f, var(kLoopLampName), "_visible", both(var("looping"), working));
        setMember(f, var(kNoSoundName), "_visible", var("failed"));
    });
}

// From a standstill the stream goes straight to its first block, frame 2:
// at one frame per second, waiting for the next frame would hold the sound
// back for up to a second.
void startStream(Actions& a)
{
    invoke(a, stream(), "gotoAndPlay", {number(2)});
}

void buttonFunctions(Actions& a)
{
    function(a, "pressPlay", [](Actions& f) {
        when(f, both(var("ready"), negate(var("playing"))), startStream);
        setVariable(f, "playing", boolean(true));
        callFunction(f, "show");
    });
    // Stopping rewinds, so that play starts the sound from its beginning.
    function(a, "pressStop", [](Actions& f) {
        setVariable(f, "playing", boolean(false));
        when(f, var("ready"), [](Actions& g) { invoke(g, stream(), "gotoAndStop", {number(1)}); });
        callFunction(f, "show");
    });
    function(a, "pressLoop", [](Actions& f) {
        setVariable(f, "looping", negate(var("looping")));
        callFunction(f, "show");
    });
}

// The stream loops by itself, as every timeline does, and its sound restarts
// with it. Playing once means catching it back at its start: the last frame's
// sound has then been heard in full.
void tickFunction(Actions& a)
{
    function(a, "tick", [](Actions& f) {
        when(f, var("ready"), [](Actions& g) {
            setVariable(g, "frame", member(stream(), "_currentframe"));
            const Expr wrapped = both(var("playing"), less(var("frame"), var("lastFrame")));
            when(g, both(wrapped, negate(var("looping"))), [](Actions& h) {
                invoke(h, stream(), "gotoAndStop", {number(1)});
                setVariable(h, "playing", boolean(false));
                callFunction(h, "show");
            });
            setVariable(g, "lastFrame", var("frame"));
        });
    });
}

void loaderFunctions(Actions& a)
{
    function(a, "streamArrived", [](Actions& f) {
        setVariable(f, "ready", boolean(true));
        when(f, var("playing"), startStream, [](Actions& g) { invoke(g, stream(), "gotoAndStop", {number(1)}); });
        setVariable(f, "lastFrame", member(stream(), "_currentframe"));
        callFunction(f, "show");
    });
    function(a, "streamMissing", [](Actions& f) {
        setVariable(f, "failed", boolean(true));
        callFunction(f, "show");
    });
}

// address?query: the letter before ".swf" names the stream, with "s" in its
// place; "?p00012" asks for the preview sound beside the controller.
void readAddress(Actions& a)
{
    setVariable(a, "address", member(var("this"), "_url"));
    setVariable(a, "query", text(""));
    setVariable(a, "mark", callMethod(var("address"), "indexOf", {text("?")}));
    when(a, negate(less(var("mark"), number(0))), [](Actions& f) {
        setVariable(f, "query", callMethod(var("address"), "substring", {add(var("mark"), number(1))}));
        setVariable(f, "address", callMethod(var("address"), "substring", {number(0), var("mark")}));
    });
    setVariable(a, "dot", callMethod(var("address"), "lastIndexOf", {text(".")}));
    setVariable(a, "folderEnd", add(callMethod(var("address"), "lastIndexOf", {text("/")}), number(1)));
    const Expr letterAt = subtract(var("dot"), number(1));
    setVariable(a, "letter", callMethod(var("address"), "charAt", {letterAt}));
    setVariable(a, "streamUrl",
                add(add(callMethod(var("address"), "substring", {number(0), letterAt}), text("s")),
                    callMethod(var("address"), "substring", {var("dot")})));
    // A file name with nothing before its extension names no stream.
    when(a, less(var("dot"), add(var("folderEnd"), number(1))),
         [](Actions& f) { setVariable(f, "streamUrl", text("")); });
    when(a, equals(callMethod(var("query"), "substr", {number(0), number(6)}), text("p00012")),
         [](Actions& f) {
             setVariable(f, "letter", text("c"));
             setVariable(f, "streamUrl",
                         add(callMethod(var("address"), "substring", {number(0), var("folderEnd")}),
                             text("preview.swf")));
         });
}

// c: stopped, looping; d: stopped, once; e: playing, looping; f: playing,
// once; any other letter as c.
void readInstruction(Actions& a)
{
    const Expr once = either(equals(var("letter"), text("d")), equals(var("letter"), text("f")));
    setVariable(a, "looping", negate(once));
    setVariable(a, "playing", either(equals(var("letter"), text("e")), equals(var("letter"), text("f"))));
    setVariable(a, "ready", boolean(false));
    setVariable(a, "failed", boolean(false));
    setVariable(a, "lastFrame", number(0));
}

// The stream plays in a clip of its own, through a loader that reports both
// arrival and failure.
void loadStream(Actions& a)
{
    when(
        a, equals(var("streamUrl"), text("")), [](Actions& f) { callFunction(f, "streamMissing"); },
        [](Actions& f) {
            invoke(f, var("this"), "createEmptyMovieClip", {text("stream"), number(100)});
            setVariable(f, "watcher", newObject("Object"));
            setMember(f, var("watcher"), "onLoadInit", var("streamArrived"));
            setMember(f, var("watcher"), "onLoadError", var("streamMissing"));
            setVariable(f, "loader", newObject("MovieClipLoader"));
            invoke(f, var("loader"), "addListener", {var("watcher")});
            invoke(f, var("loader"), "loadClip", {var("streamUrl"), stream()});
        });
}

} // namespace

std::vector<std::uint8_t> controllerScript()
{
    Actions a;
    a.op(Op::Stop);
    readAddress(a);
    readInstruction(a);
    showFunction(a);
    buttonFunctions(a);
    tickFunction(a);
    loaderFunctions(a);
    callFunction(a, "show");
    loadStream(a);
    setMember(a, var("this"), "onEnterFrame", var("tick"));
    return a.bytes();
}

std::vector<std::uint8_t> buttonActions(ButtonRole role)
{
    Actions a;
    switch (role) {
    case ButtonRole::Play: callFunction(a, "pressPlay"); break;
    case ButtonRole::Stop: callFunction(a, "pressStop"); break;
    case ButtonRole::Loop: callFunction(a, "pressLoop"); break;
    }
    return a.bytes();
}

} // namespace orvalin::swfgen
