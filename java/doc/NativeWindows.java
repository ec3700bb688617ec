package doc;

/** The native methods that PLENWICKDLL implements for the host application. */
public class NativeWindows {
    static {
        System.loadLibrary("PLENWICKDLL");
    }

    /** Version of the native library; always 1. */
    public static native int getver();

    /** Name of the printer that printing uses, or a text starting "**ERROR** ". */
    public static native String get_printer_name();

    /** Shows the Print Setup dialog; true when the user confirmed it. */
    public static native boolean plenwick_setup();

    /** Prints report files with spooler-style options; always true. */
    public static native boolean plenwick(String[] arguments);

    /** Launches shell commands one after another; always true. */
    public static native boolean shellexec(String[] commands);

    /** Launches one command with a shell verb; always true. */
    public static native boolean launch_document(String verb, String command);

    /** A registry string value, or a text starting "**ERROR** ". */
    public static native String read_registry_string(int rootKey, String subKey, String valueName);
}
