// Driven by web_picker.sh: arguments are the page's HTML, its URL and a URL
// to download. Wine's cscript swallows script errors, so the script prints
// a last line of its own.
var args = WScript.Arguments;
var failures = 0;
try {
    var g = new ActiveXObject("Gleanix.InfoGather.1");
    g.AddPageEx(args(0), "", args(1), "WP Page");
    g.AddDld(args(2), "");
    g.AddDld(args(2), "");
} catch (e) {
    failures++;
    WScript.Echo("FAIL: " + e.message);
}
WScript.Echo("web picker script finished, failures: " + failures);
WScript.Quit(failures);
