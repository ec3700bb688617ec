import doc.NativeWindows;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;

/**
 * Calls the native methods of the Linux library through a real virtual
 * machine (run with -Xcheck:jni) and ends with the line "N passed, N
 * failed". The CUPS default destination is "PDF"; the registry is the
 * regedit export that PLENWICK_REGISTRY names (registry.reg beside this
 * file), where HKEY_CURRENT_USER\Software\Plenwick\Test holds "Greeting" =
 * "Hello from the registry" and a default value "Plenwick test key", and
 * HKEY_CURRENT_USER\Software\Plenwick\Caf\u00e9 holds "Pr\u00eat" = "caf\u00e9
 * \u20ac 5" in code page 1252; the shell starts real programs.
 */
public class NativeWindowsTest {
    private static final int HKEY_CURRENT_USER = 0x80000001;
    private static final String TEST_KEY = "Software\\Plenwick\\Test";
    private static final String KEY_NOT_FOUND = "**ERROR** RegOpenKeyEx() Registry Key not found: ";
    private static final String VALUE_NOT_FOUND = "**ERROR** RegQueryValueEx() Data Value not found: ";

    private static int passed;
    private static int failed;

    static void check(String what, boolean ok) {
        if (ok) {
            passed++;
        } else {
            failed++;
            System.out.println("FAIL " + what);
        }
    }

    static void checkEquals(String what, Object expected, Object actual) {
        boolean ok = expected == null ? actual == null : expected.equals(actual);
        check(what + ": expected [" + expected + "] got [" + actual + "]", ok);
    }

    static void printing() throws IOException {
        checkEquals("plenwick without arguments", true, NativeWindows.plenwick(new String[0]));
        File report = File.createTempFile("plenwick", ".txt", new File("."));
        report.deleteOnExit();
        String[] request = {"-copies=1", "-orientation=landscape", report.getName(), "missing-report.txt"};
        checkEquals("plenwick with a small request", true, NativeWindows.plenwick(request));
        checkEquals("plenwick with a null element", true, NativeWindows.plenwick(new String[] {null, "-copies=2"}));
        checkEquals("get_printer_name", "PDF", NativeWindows.get_printer_name());
        checkEquals("plenwick_setup has no dialog: the selection stays", false, NativeWindows.plenwick_setup());
        checkEquals("get_printer_name after setup", "PDF", NativeWindows.get_printer_name());
    }

    static void registry() {
        checkEquals("preset value", "Hello from the registry",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, "Greeting"));
        checkEquals("default value", "Plenwick test key",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, ""));
        checkEquals("expandable value, unexpanded", "%TEMP%\\plenwick",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, "Folder"));
        checkEquals("missing key", KEY_NOT_FOUND + "Software\\Nowhere",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, "Software\\Nowhere", "Greeting"));
        checkEquals("missing value", VALUE_NOT_FOUND + "Nothing",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, "Nothing"));
        // Text goes to the registry in UTF-8 and comes back as it went; a
        // NUL character, which no C string holds, becomes '?'.
        for (String subKey : new String[] {"\u00e9\u20ac", "\ud83d\ude00 smile", "\u4e2d\u6587"}) {
            checkEquals("sub key echoed back", KEY_NOT_FOUND + subKey,
                    NativeWindows.read_registry_string(HKEY_CURRENT_USER, subKey, "x"));
        }
        checkEquals("NUL in a sub key", KEY_NOT_FOUND + "a?b",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, "a\u0000b", "x"));
        checkEquals("unpaired surrogate", KEY_NOT_FOUND + "?x",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, "\ud800x", "x"));
        // registry.reg is a REGEDIT4 export, in code page 1252.
        checkEquals("value outside ASCII", "caf\u00e9 \u20ac 5",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, "Software\\Plenwick\\Caf\u00e9",
                        "Pr\u00eat"));
        check("null value name gives an error text",
                NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, null).startsWith("**ERROR** "));
    }

    static void shell() throws IOException {
        checkEquals("shellexec without commands", true, NativeWindows.shellexec(new String[0]));
        File marker = new File("plenwick-shell-marker");
        marker.delete();
        String[] commands = {"/W /MA touch " + marker.getName(), "\"my file.txt\"", null, "\u00e9\u20ac.txt"};
        checkEquals("shellexec with commands", true, NativeWindows.shellexec(commands));
        check("/W waits for the program it started", marker.exists());
        marker.delete();
        checkEquals("launch_document", true, NativeWindows.launch_document("open", "/W true"));
        checkEquals("launch_document without verb", true, NativeWindows.launch_document("**NULL**", "x"));
        checkEquals("launch_document with nulls", true, NativeWindows.launch_document(null, null));
        // The verb in capitals prints under every locale the machine runs
        // under: Turkish folds I to a dotless i. The lp on PATH writes
        // its arguments where the property says.
        String lpRecord = System.getProperty("plenwick.lp.record");
        if (lpRecord != null) {
            File record = new File(lpRecord);
            record.delete();
            File document = File.createTempFile("plenwick-doc", ".txt", new File("."));
            document.deleteOnExit();
            checkEquals("launch_document PRINT", true, NativeWindows.launch_document("PRINT", "/W " + document.getName()));
            checkEquals("PRINT hands the document to lp", "--|" + document.getName() + "|",
                    record.exists() ? new String(Files.readAllBytes(record.toPath()), StandardCharsets.UTF_8) : "nothing");
        }
    }

    public static void main(String[] args) throws IOException {
        checkEquals("getver", 1, NativeWindows.getver());
        checkEquals("getver again", 1, NativeWindows.getver());
        printing();
        registry();
        shell();
        System.out.println(passed + " passed, " + failed + " failed");
        System.exit(failed == 0 ? 0 : 1);
    }
}
