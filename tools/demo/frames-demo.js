// trevik demo: builds a page that embeds frames and other objects, hands its
// document to getFrames and prints the title of every frame document.
try {
    var page = new ActiveXObject("trevik.SamplePage");
    page.addFrame("Front page");
    page.addControl();
    page.addFrame("Weather");
    page.addFrameWithoutDocument();
    page.addFrame("Sport");
    WScript.Echo("The page embeds five objects: three frames with HTML documents,");
    WScript.Echo("a control, and a frame that has not loaded a document.");

    var helper = new ActiveXObject("trevik.ZuTrevikHelper");
    var frames = new VBArray(helper.getFrames(page.document)).toArray();
    WScript.Echo("getFrames returned " + frames.length + " elements:");
    for (var i = 0; i < frames.length; i++)
        WScript.Echo("  [" + i + "] " + (frames[i] === undefined ? "(empty)" : "\"" + frames[i].title + "\""));
} catch (e) {
    WScript.Echo("error 0x" + (e.number >>> 0).toString(16) + ": " + e.message);
    WScript.Quit(1);
}
