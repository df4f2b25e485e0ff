package com.vum.kel.util;

import java.io.InputStream;
import java.io.OutputStream;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;

/**
 * getSTDOUT against what a Java toolkit would do without it: ProcessBuilder,
 * start, read everything, wait. Each case runs seven rounds of five runs of
 * each, the two taken in turn; a round gives the ratio of its medians
 * (getSTDOUT / ProcessBuilder), and a case's row shows the median times, the
 * median of the seven ratios and the lowest and the highest of them.
 */
public final class WindowsCommandCenterBench {
  private static final int ROUNDS = 7;
  private static final int RUNS = 5;

  private static final WindowsCommandCenter CENTER = new WindowsCommandCenter();

  public static void main(String[] args) throws Exception {
    final String child = System.getProperty("kel.runnerChild");
    final String echo = "cmd /c echo x";
    final String tenEchoes = String.join(" & ", Collections.nCopies(10, echo));
    final String tenMegabytes = "\"" + child + "\" out 10000000";
    // Once each first, so that neither pays for loading the classes and the library.
    getStdout(echo);
    processBuilder("cmd", "/c", "echo", "x");

    System.out.printf("%-42s %10s %14s %6s %13s %6s%n", "case", "getSTDOUT", "ProcessBuilder", "ratio",
        "lowest-highest", "goal");
    row("one short command (cmd /c echo x)", () -> getStdout(echo), () -> processBuilder("cmd", "/c", "echo", "x"));
    row("ten commands in one call vs ten starts", () -> getStdout(tenEchoes), () -> {
      for (int i = 0; i < 10; ++i) processBuilder("cmd", "/c", "echo", "x");
    });
    row("10 MB of output", () -> getStdout(tenMegabytes), () -> processBuilder(child, "out", "10000000"));
  }

  private interface Work {
    void run() throws Exception;
  }

  private static void getStdout(String commandLine) {
    if (CENTER.getSTDOUT(commandLine) == null) throw new IllegalStateException("getSTDOUT answered null");
  }

  private static void processBuilder(String... command) throws Exception {
    final Process process = new ProcessBuilder(command).redirectErrorStream(true).start();
    try (InputStream output = process.getInputStream()) {
      output.transferTo(OutputStream.nullOutputStream());
    }
    process.waitFor();
  }

  private static void row(String name, Work ours, Work baseline) throws Exception {
    final List<Double> oursTimes = new ArrayList<>();
    final List<Double> baselineTimes = new ArrayList<>();
    final double[] ratios = new double[ROUNDS];
    for (int round = 0; round < ROUNDS; ++round) {
      final double[] oursRound = new double[RUNS];
      final double[] baselineRound = new double[RUNS];
      for (int run = 0; run < RUNS; ++run) {
        oursRound[run] = millis(ours);
        baselineRound[run] = millis(baseline);
      }
      ratios[round] = median(oursRound) / median(baselineRound);
      for (int run = 0; run < RUNS; ++run) {
        oursTimes.add(oursRound[run]);
        baselineTimes.add(baselineRound[run]);
      }
    }
    final double[] sorted = ratios.clone();
    Arrays.sort(sorted);
    System.out.printf("%-42s %8.2fms %12.2fms %6.3f %6.3f-%6.3f %6s%n", name, median(oursTimes), median(baselineTimes),
        median(ratios), sorted[0], sorted[ROUNDS - 1], "1.10");
  }

  private static double millis(Work work) throws Exception {
    final long start = System.nanoTime();
    work.run();
    return (System.nanoTime() - start) / 1e6;
  }

  private static double median(List<Double> values) {
    return median(values.stream().mapToDouble(Double::doubleValue).toArray());
  }

  private static double median(double[] values) {
    final double[] sorted = values.clone();
    Arrays.sort(sorted);
    return sorted[sorted.length / 2];
  }
}
