// Hands text made by the native encoder to a real VM's NewStringUTF (run with
// -Xcheck:jni) and checks that every character arrives.
import java.nio.charset.StandardCharsets;

public final class TextEncodingCheck {
  // The native side takes UTF-8 spelled in hex (plain ASCII, so the argument
  // itself needs no conversion), makes modified UTF-8 of it with the encoder
  // and returns NewStringUTF of that.
  private static native String fromUtf8Hex(String hex);
  // The native side decodes the argument's modified UTF-8 to UTF-16 code
  // units and encodes them again before NewStringUTF.
  private static native String roundTrip(String text);
  // The UTF-8 bytes handed to NewStringUTF as they are: what the encoder
  // exists to prevent, to show that this VM does lose such text.
  private static native String rawUtf8Hex(String hex);

  private static int failures = 0;

  private static String hex(byte[] bytes) {
    StringBuilder out = new StringBuilder();
    for (byte b : bytes) out.append(String.format("%02X", b & 0xFF));
    return out.toString();
  }

  private static String units(String s) {
    StringBuilder out = new StringBuilder();
    for (char c : s.toCharArray()) out.append(String.format("\\u%04X", (int) c));
    return out.toString();
  }

  private static void expect(String what, String actual, String wanted) {
    if (wanted.equals(actual)) {
      System.out.println("ok   " + what + ": " + units(actual));
    } else {
      System.out.println("FAIL " + what + ": got " + (actual == null ? "null" : units(actual)) + ", wanted " + units(wanted));
      failures++;
    }
  }

  public static void main(String[] args) {
    System.loadLibrary("kel_text_encoding_jni");
    String[] texts = {
      "plain ASCII",
      "J\u00FCrgen \\\\fs\\B\u00FCro \u20AC",
      "\u043F\u0430\u0440\u043E\u043B\u044C",
      "smile \uD83D\uDE00 y",
      "\uD83D\uDE00\uD83D\uDE00 pairs at both ends \uDBFF\uDFFF",
      "zero \u0000 inside",
      "\uFF02fullwidth\uFF1A",
    };
    for (String text : texts) {
      expect("fromUtf8Hex", fromUtf8Hex(hex(text.getBytes(StandardCharsets.UTF_8))), text);
      expect("roundTrip", roundTrip(text), text);
    }
    expect("roundTrip of a lone surrogate", roundTrip("a\uDE00b"), "a\uDE00b");
    String smile = "x \uD83D\uDE00 y";
    String raw = rawUtf8Hex(hex(smile.getBytes(StandardCharsets.UTF_8)));
    if (smile.equals(raw)) {
      System.out.println("FAIL this VM keeps raw four-byte UTF-8, so the check above proves nothing");
      failures++;
    } else {
      System.out.println("ok   raw UTF-8 loses text in this VM: " + units(raw));
    }
    if (failures > 0) {
      System.out.println(failures + " failed");
      System.exit(1);
    }
    System.out.println("every character arrived");
  }
}
