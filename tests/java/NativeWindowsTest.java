import doc.NativeWindows;

/**
 * Calls the native methods through a real virtual machine (run with
 * -Xcheck:jni) and ends with the line "N passed, N failed".
 */
public class NativeWindowsTest {
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

    public static void main(String[] args) {
        checkEquals("getver", 1, NativeWindows.getver());
        checkEquals("getver again", 1, NativeWindows.getver());
        System.out.println(passed + " passed, " + failed + " failed");
        System.exit(failed == 0 ? 0 : 1);
    }
}
