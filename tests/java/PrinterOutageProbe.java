import doc.NativeWindows;

import java.io.File;

/**
 * One virtual machine across a print server outage: asks for the printer's
 * name and prints report 1 while no server answers, waits until the file
 * named by the first argument exists (the server is back then), and does
 * the same with report 2. Prints "name before: ..." and "name after: ...".
 * Reports are printed with SCRATCH: one that is gone was spooled.
 */
public class PrinterOutageProbe {
    public static void main(String[] args) throws InterruptedException {
        System.out.println("name before: " + NativeWindows.get_printer_name());
        NativeWindows.plenwick(new String[] {"-disposition=scratch", "outage-1.txt"});
        System.out.println("waiting");
        File back = new File(args[0]);
        for (int i = 0; i < 600 && !back.exists(); i++) Thread.sleep(100);
        System.out.println("name after: " + NativeWindows.get_printer_name());
        NativeWindows.plenwick(new String[] {"-disposition=scratch", "outage-2.txt"});
    }
}
