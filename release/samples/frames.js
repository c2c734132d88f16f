// Usage: cscript //nologo frames.js URL
// Opens URL in a browser window, waits until the page has loaded, and prints
// the title of every frame document that getFrames returns for its document.
if (WScript.Arguments.length != 1) {
    WScript.Echo("usage: cscript //nologo frames.js URL");
    WScript.Quit(2);
}
var browser = new ActiveXObject("InternetExplorer.Application");
try {
    browser.Navigate(WScript.Arguments(0));
    while (browser.Busy || browser.ReadyState != 4)
        WScript.Sleep(100);

    var helper = new ActiveXObject("trevik.ZuTrevikHelper");
    var frames = new VBArray(helper.getFrames(browser.Document)).toArray();
    WScript.Echo(frames.length + " embedded objects:");
    for (var i = 0; i < frames.length; i++)
        WScript.Echo("  " + (frames[i] === undefined ? "(not a frame with an HTML document)" : frames[i].title));
} catch (e) {
    WScript.Echo("error 0x" + (e.number >>> 0).toString(16) + ": " + e.message);
} finally {
    browser.Quit();
}
