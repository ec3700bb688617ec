import doc.NativeWindows;

import java.io.File;

/**
 * One virtual machine across a print server restart: prints the report
 * named by the second argument (the server stops under it), says "first
 * done", waits until the file named by the first argument exists (the
 * server is back then), prints the third argument and says "second done".
 */
public class ServerRestartProbe {
    public static void main(String[] args) throws InterruptedException {
        NativeWindows.plenwick(new String[] {args[1]});
        System.out.println("first done");
        File back = new File(args[0]);
        for (int i = 0; i < 600 && !back.exists(); i++) Thread.sleep(100);
        NativeWindows.plenwick(new String[] {"-disposition=scratch", args[2]});
        System.out.println("second done");
    }
}
