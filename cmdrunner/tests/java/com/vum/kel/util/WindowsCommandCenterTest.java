package com.vum.kel.util;

import static com.vum.kel.util.Commands.CHILD;
import static com.vum.kel.util.Commands.lastLine;
import static java.nio.charset.StandardCharsets.UTF_8;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.File;
import java.io.IOException;
import java.util.Arrays;
import org.junit.jupiter.api.Test;

/** getSTDOUT called by a real VM, which checks every JNI call (-Xcheck:jni). */
class WindowsCommandCenterTest {
  private final WindowsCommandCenter center = new WindowsCommandCenter();

  @Test
  void answersAsThroughTheTestEnvironment() {
    assertEquals("hello+err!" + lastLine(0), center.getSTDOUT(CHILD + " print hello err +err print !"));
    assertEquals("ab" + lastLine(1),
        center.getSTDOUT(CHILD + " print a & " + CHILD + " print b exit 1 & " + CHILD + " print c"));
    assertEquals(lastLine(-1), center.getSTDOUT(CHILD + " exit 0xFFFFFFFF"));
    assertEquals(lastLine(0), center.getSTDOUT(" & "));
    assertNull(center.getSTDOUT(null));

    final String missing = center.getSTDOUT("no_such_program_for_tesmaru.exe");
    assertTrue(missing.endsWith("\r\n" + lastLine(97)), missing);
    assertEquals("before" + missing, center.getSTDOUT(CHILD + " print before & no_such_program_for_tesmaru.exe"));

    final char[] cycle = new char[65536];
    for (int i = 0; i < cycle.length; ++i) cycle[i] = (char) ('a' + i % 26);
    assertEquals(new String(cycle) + lastLine(96), center.getSTDOUT(CHILD + " out 70000"));
  }

  /** Code page words, CJK, a character above U+FFFF and a fullwidth quote, in both directions. */
  @Test
  void everyCharacterGoesInAndComesBackWhole() throws IOException {
    for (String word : new String[] {"J\u00fcrgen", "\u041e\u0442\u0447\u0451\u0442", "\u65e5\u672c\u8a9e",
        "\ud83d\ude00", "\uff02"}) {
      final String line = CHILD + " hexcmdline " + word;
      assertEquals(hex(modifiedUtf8(line)) + lastLine(0), center.getSTDOUT(line), word);
      assertEquals(word + lastLine(0), center.getSTDOUT(CHILD + " bytes " + hex(word.getBytes(UTF_8))), word);
    }
  }

  /** No command line carries U+0000: nothing runs, and the answer is a failure. */
  @Test
  void aLineHoldingU0000RunsNothing() throws IOException {
    final File marker = Commands.temporaryFile("marker");
    marker.delete();
    final String answer = center.getSTDOUT(CHILD + " touch " + marker + " & " + CHILD + " print a\u0000b");
    assertTrue(answer.endsWith(lastLine(97)), answer);
    assertFalse(marker.exists(), "a command ran");
  }

  static byte[] modifiedUtf8(String text) throws IOException {
    final ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    new DataOutputStream(bytes).writeUTF(text);
    final byte[] all = bytes.toByteArray();
    return Arrays.copyOfRange(all, 2, all.length);  // without writeUTF's length
  }

  static String hex(byte[] bytes) {
    final StringBuilder hex = new StringBuilder();
    for (byte b : bytes) hex.append(String.format("%02X", b & 0xFF));
    return hex.toString();
  }
}
