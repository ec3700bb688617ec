import doc.NativeWindows;

/**
 * Runs one print request through the native library as the application
 * does: the command-line arguments are the request, options and report
 * file names, handed to NativeWindows.plenwick unchanged.
 */
public class PlenwickPrint {
    public static void main(String[] args) {
        boolean done = NativeWindows.plenwick(args);
        System.exit(done ? 0 : 1);
    }
}
