import doc.NativeWindows;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * Many threads of one virtual machine calling all seven native methods at
 * once, as a Java server does: every answer must be the one a lone caller
 * gets, and every print must reach the printer. Prints go to the queue
 * named by the first argument, with SCRATCH, so a report that is gone was
 * spooled; the registry is tests/java/registry.reg (PLENWICK_REGISTRY). Ends
 * with the line "calls N, prints N, problems N".
 */
public class ConcurrentCallsTest {
    private static final int THREADS = 8;
    private static final int CALLS = 200;
    private static final int HKEY_CURRENT_USER = 0x80000001;
    private static final String TEST_KEY = "Software\\Plenwick\\Test";

    private static String queue;
    private static final AtomicInteger prints = new AtomicInteger();
    // Problems by what went wrong: how often, and the first one seen.
    private static final Map<String, Integer> problemCounts = new TreeMap<>();
    private static final Map<String, String> firstProblems = new TreeMap<>();

    static synchronized void problem(String what, String detail) {
        problemCounts.merge(what, 1, Integer::sum);
        firstProblems.putIfAbsent(what, detail);
    }

    static void expect(String what, Object expected, Object actual) {
        if (expected == null ? actual != null : !expected.equals(actual)) {
            problem(what, "expected [" + expected + "] got [" + actual + "]");
        }
    }

    // Each thread prints every 40th call (a print waits for the print
    // server, the other calls do not) and turns through the other methods
    // in between.
    static void call(int thread, int index) throws IOException {
        int kind = index % 40 == thread ? 3 : (thread + index) % 10 == 3 ? 0 : (thread + index) % 10;
        switch (kind) {
            case 0:
                expect("getver", 1, NativeWindows.getver());
                break;
            case 1:
                expect("get_printer_name", "PDF", NativeWindows.get_printer_name());
                break;
            case 2:
                expect("plenwick_setup", false, NativeWindows.plenwick_setup());
                break;
            case 3: {
                File report = new File("cc-" + thread + "-" + index + ".txt");
                Files.write(report.toPath(), ("thread " + thread + " call " + index + "\r\n")
                        .getBytes(StandardCharsets.US_ASCII));
                expect("plenwick", true, NativeWindows.plenwick(new String[] {
                        "-printer_id=" + queue, "-disposition=scratch", report.getName()}));
                expect("report spooled and deleted", false, report.exists());
                prints.incrementAndGet();
                break;
            }
            case 4:
                expect("shellexec", true, NativeWindows.shellexec(new String[] {"/W true", "/W true"}));
                break;
            case 5:
                expect("launch_document", true, NativeWindows.launch_document("**NULL**", "/W true"));
                break;
            case 6:
                expect("registry value", "Hello from the registry",
                        NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, "Greeting"));
                break;
            case 7:
                expect("registry value outside ASCII", "caf\u00e9 \u20ac 5",
                        NativeWindows.read_registry_string(HKEY_CURRENT_USER,
                                "Software\\Plenwick\\Caf\u00e9", "Pr\u00eat"));
                break;
            case 8:
                expect("missing key", "**ERROR** RegOpenKeyEx() Registry Key not found: Software\\T" + thread,
                        NativeWindows.read_registry_string(HKEY_CURRENT_USER, "Software\\T" + thread, "x"));
                break;
            default:
                expect("default value", "Plenwick test key",
                        NativeWindows.read_registry_string(HKEY_CURRENT_USER, TEST_KEY, ""));
                break;
        }
    }

    public static void main(String[] args) throws Exception {
        queue = args[0];
        CountDownLatch start = new CountDownLatch(1);
        List<Thread> threads = new ArrayList<>();
        for (int t = 0; t < THREADS; t++) {
            final int thread = t;
            Thread worker = new Thread(() -> {
                try {
                    start.await();
                    for (int i = 0; i < CALLS; i++) call(thread, i);
                } catch (Exception e) {
                    problem("thread " + thread + " stopped", e.toString());
                }
            });
            worker.start();
            threads.add(worker);
        }
        start.countDown();
        for (Thread worker : threads) worker.join();
        int total = 0;
        for (Map.Entry<String, Integer> entry : problemCounts.entrySet()) {
            System.out.println("FAIL " + entry.getKey() + " (" + entry.getValue() + " times), first: "
                    + firstProblems.get(entry.getKey()));
            total += entry.getValue();
        }
        System.out.println("calls " + THREADS * CALLS + ", prints " + prints.get() + ", problems " + total);
        System.exit(total == 0 ? 0 : 1);
    }
}
