// Creates the helper by both ProgIDs and prints what getFrames returns for
// pages built with the sample page server: the array's length, then each
// element's document title or "-" for an empty element.
function buildPage(kinds) {
    var page = new ActiveXObject("trevik.SamplePage");
    for (var i = 0; i < kinds.length; i++) {
        var kind = kinds[i];
        if (kind.charAt(0) == "F") page.addFrame(kind.substring(2));
        else if (kind.charAt(0) == "P") page.addPlainFrame(kind.substring(2));
        else if (kind == "N") page.addFrameWithoutDocument();
        else if (kind == "C") page.addControl();
    }
    return page;
}

function describe(progId, kinds) {
    var helper = new ActiveXObject(progId);
    var items = new VBArray(helper.getFrames(buildPage(kinds).document)).toArray();
    var parts = [];
    for (var i = 0; i < items.length; i++)
        parts.push(items[i] === undefined ? "-" : items[i].title);
    return items.length + " [" + parts.join("|") + "]";
}

var pages = [
    ["no frames", []],
    ["only controls", ["C", "C"]],
    ["mixed", ["C", "F:News", "C", "F:Weather", "F:Sport"]],
    ["frames without documents", ["N", "F:Kept", "N", "P:Plain text"]]
];
var progIds = ["trevik.ZuTrevikHelper.1", "trevik.ZuTrevikHelper"];

for (var p = 0; p < progIds.length; p++) {
    for (var i = 0; i < pages.length; i++) {
        var line = "js " + progIds[p] + " " + pages[i][0] + ": ";
        try {
            line += describe(progIds[p], pages[i][1]);
        } catch (e) {
            line += "error 0x" + (e.number >>> 0).toString(16) + " " + e.message;
        }
        WScript.Echo(line);
    }
}
WScript.Echo("js done");
