// Driven by gleanix_cscript.sh: arguments are the picked-text file, a
// folder for per-title files, the library's ini file, and the mode
// ("registered" or "unregistered"). Wine's cscript swallows script errors,
// so the script counts its own failures and always prints a last line.
var failures = 0;
function check(what, ok) {
    if (!ok) {
        failures++;
        WScript.Echo("FAIL: " + what);
    }
}
function writeIni(fso, ini, storeInFile, toMain) {
    var f = fso.CreateTextFile(ini, true);
    f.Write("[Records]\r\nStoreInFile=" + storeInFile + "\r\nIsStoreToAvn=" + toMain + "\r\n");
    f.Close();
}

var args = WScript.Arguments;
var picked = args(0), folder = args(1), ini = args(2), mode = args(3);
var fso = new ActiveXObject("Scripting.FileSystemObject");

if (mode == "unregistered") {
    var names = ["Gleanix.InfoGather.1", "Gleanix.InfoGather"];
    for (var i = 0; i < names.length; i++) {
        var created = true;
        try {
            new ActiveXObject(names[i]);
        } catch (e) {
            created = false;
        }
        check(names[i] + " can no longer be created", !created);
    }
} else {
    var a = null, b = null;
    try {
        a = new ActiveXObject("Gleanix.InfoGather.1");
        b = new ActiveXObject("Gleanix.InfoGather");
    } catch (e) {
        check("objects created: " + e.message, false);
    }
    if (a && b) {
        writeIni(fso, ini, picked, "0");
        a.AddInfo("first", "http://a/");
        b.AddInfo("second", "http://b/");
        var text = fso.OpenTextFile(picked, 1).ReadAll();
        var sep = "\r\n\r\n=~=~=~=~=~=\\d{4}-\\d\\d-\\d\\d,\\d\\d:\\d\\d:\\d\\d=~=~=~=~=~=";
        check("two appends, byte for byte",
              new RegExp("^" + sep + "http://a/=~=~=~=~=~=\r\nfirst" + sep + "http://b/=~=~=~=~=~=\r\nsecond$").test(text));

        writeIni(fso, ini, folder + "\\", "0");
        a.AddInfo("ab\r\nReport\r\nthe body", "http://r/");
        check("folder mode names the file after the first suitable line", fso.FileExists(folder + "\\Report.txt"));
        a.AddInfoEx("x", "http://r/", "..\\..\\outside");
        check("a page's title cannot leave the folder", fso.FileExists(folder + "\\.._.._outside.txt"));

        // The panel is cancelled by a helper program; nothing is written.
        a.CtrlPanel();
        check("cancelled panel keeps the settings",
              fso.OpenTextFile(ini, 1).ReadAll().indexOf("IsStoreToAvn=0") >= 0);

        // These two go to the stand-in main window, which the first starts.
        a.AddPageEx("<html></html>", "x\nReport Page\n", "http://p/", "a/b");
        b.AddDld("http://d/f.zip", "");
    }
}
WScript.Echo("gleanix script finished, failures: " + failures);
WScript.Quit(failures);
