package com.vum.kel.util;

import static java.nio.charset.StandardCharsets.UTF_8;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.nio.file.Files;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.Test;

/** The busy VM of WindowsCommandCenterLoad, watched from outside: its exit code and its own output. */
class WindowsCommandCenterLoadTest {
  @Test
  void callsAmidProcessesAndOutputTakeOnlyTheirOwnAndEveryLineReachesTheVmsOutput() throws Exception {
    final File out = Commands.temporaryFile("out");
    final File err = Commands.temporaryFile("err");
    final String java = System.getProperty("java.home") + File.separator + "bin" + File.separator + "java";
    final Process vm = new ProcessBuilder(java, "-Xcheck:jni", "-XX:-PrintWarnings", "-XX:-UsePerfData",
        "-Djava.library.path=" + System.getProperty("java.library.path"),
        "-Dkel.runnerChild=" + System.getProperty("kel.runnerChild"), "-cp", System.getProperty("kel.classes"),
        WindowsCommandCenterLoad.class.getName()).redirectOutput(out).redirectError(err).start();
    assertTrue(vm.waitFor(120, TimeUnit.SECONDS), "the busy VM did not end");
    final List<String> outLines = Files.readAllLines(out.toPath(), UTF_8);
    final List<String> errLines = Files.readAllLines(err.toPath(), UTF_8);
    assertEquals(0, vm.exitValue(), String.join("\n", outLines));
    final Matcher summary = Pattern.compile("printed (\\d+) lines, .*").matcher(outLines.get(outLines.size() - 1));
    assertTrue(summary.matches(), outLines.get(outLines.size() - 1));
    final int printed = Integer.parseInt(summary.group(1));
    assertTrue(printed > 0);
    assertEquals(numbered("line out ", printed), new HashSet<>(outLines.subList(0, outLines.size() - 1)));
    assertEquals(numbered("line err ", printed), new HashSet<>(errLines));
    out.delete();
    err.delete();
  }

  private static Set<String> numbered(String prefix, int count) {
    final Set<String> lines = new HashSet<>();
    for (int i = 0; i < count; ++i) lines.add(prefix + i);
    return lines;
  }
}
