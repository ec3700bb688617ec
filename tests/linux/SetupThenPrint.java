import doc.NativeWindows;

/**
 * The Print Setup menu as the application uses it, in one virtual machine:
 * the selected printer, the setup dialog's answer, the printer then
 * selected, and a print request (the arguments) on that selection.
 */
public class SetupThenPrint {
    public static void main(String[] args) {
        System.out.println("before: " + NativeWindows.get_printer_name());
        System.out.println("setup: " + NativeWindows.plenwick_setup());
        System.out.println("after: " + NativeWindows.get_printer_name());
        if (args.length > 0) System.out.println("print: " + NativeWindows.plenwick(args));
    }
}
