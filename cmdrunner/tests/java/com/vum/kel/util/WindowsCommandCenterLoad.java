package com.vum.kel.util;

import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * A busy VM for some seconds: threads calling getSTDOUT, threads starting
 * processes with ProcessBuilder (inheritance on, no handle list), and a
 * thread writing numbered lines to System.out and System.err. Each result
 * must hold exactly its own commands' output, and each call must end
 * promptly; the lines are counted by whoever reads this VM's output. Ends
 * with 0 when every call was right.
 */
public final class WindowsCommandCenterLoad {
  private static final long SECONDS = 6;
  private static final long PROMPT_MILLIS = 10_000;

  public static void main(String[] args) throws Exception {
    final long end = System.nanoTime() + TimeUnit.SECONDS.toNanos(SECONDS);
    final ConcurrentLinkedQueue<String> faults = new ConcurrentLinkedQueue<>();
    final AtomicInteger calls = new AtomicInteger();
    final AtomicInteger started = new AtomicInteger();
    final AtomicInteger refused = new AtomicInteger();
    final List<Thread> threads = new ArrayList<>();
    for (int t = 0; t < 3; ++t) {
      final int caller = t;
      threads.add(new Thread(() -> {
        final WindowsCommandCenter center = new WindowsCommandCenter();
        for (int k = 0; System.nanoTime() < end; ++k) {
          final String tag = caller + "." + k;
          final long before = System.nanoTime();
          final String answer =
              center.getSTDOUT(Commands.CHILD + " print out" + tag + " & " + Commands.CHILD + " err err" + tag + " sleep 50");
          final long millis = TimeUnit.NANOSECONDS.toMillis(System.nanoTime() - before);
          final String expected = "out" + tag + "err" + tag + Commands.lastLine(0);
          if (!expected.equals(answer)) faults.add("call " + tag + " answered [" + answer + "]");
          if (millis > PROMPT_MILLIS) faults.add("call " + tag + " took " + millis + " ms");
          calls.incrementAndGet();
        }
      }));
    }
    for (int t = 0; t < 2; ++t) {
      final int builder = t;
      threads.add(new Thread(() -> {
        for (int k = 0; System.nanoTime() < end; ++k) {
          final String tag = "pb" + builder + "." + k;
          final Process process;
          try {
            process = new ProcessBuilder(System.getProperty("kel.runnerChild"), "print", tag, "sleep", "100")
                .redirectErrorStream(true).start();
          } catch (IOException e) {
            // Wine on a loaded machine at times fails a start with an internal
            // error; these processes are the load, not what is watched.
            refused.incrementAndGet();
            continue;
          }
          try {
            final String output;
            try (InputStream in = process.getInputStream()) {
              output = new String(in.readAllBytes(), StandardCharsets.UTF_8);
            }
            if (process.waitFor() != 0 || !output.equals(tag)) faults.add("process " + tag + " gave [" + output + "]");
            started.incrementAndGet();
          } catch (Exception e) {
            faults.add("process " + tag + ": " + e);
          }
        }
      }));
    }
    final int[] printed = {0};
    final Thread printer = new Thread(() -> {
      for (; System.nanoTime() < end; ++printed[0]) {
        System.out.println("line out " + printed[0]);
        System.err.println("line err " + printed[0]);
        try {
          Thread.sleep(5);
        } catch (InterruptedException e) {
          return;
        }
      }
    });
    threads.add(printer);
    for (Thread thread : threads) thread.start();
    for (Thread thread : threads) thread.join();
    System.out.println("printed " + printed[0] + " lines, " + calls + " calls, " + started + " processes ("
        + refused + " starts refused)");
    for (String fault : faults) System.out.println("FAULT " + fault);
    System.out.flush();
    System.exit(faults.isEmpty() && calls.get() > 0 && started.get() > 0 ? 0 : 1);
  }
}
