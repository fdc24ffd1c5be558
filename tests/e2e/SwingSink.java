// A Java Swing window with a JTextArea that mirrors its text into a file after each
// change, as tuvel_typing_sink and gtksink.py do; its keys come through AWT's own
// keyboard handling (and its X input method under a Japanese locale).
// Usage: java SwingSink.java OUTPUT_FILE; OUTPUT_FILE.ready appears once the text area
// has the keyboard focus.
import java.awt.KeyboardFocusManager;
import java.nio.charset.StandardCharsets;
import java.nio.file.*;
import javax.swing.*;
import javax.swing.event.*;

public class SwingSink {
    // Written beside the target and renamed over it, so a reader never sees half a file.
    static void writeWhole(Path path, String text) {
        try {
            Path part = Path.of(path + ".part");
            Files.write(part, text.getBytes(StandardCharsets.UTF_8));
            Files.move(part, path, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
        } catch (Exception e) {
            e.printStackTrace();
        }
    }

    public static void main(String[] args) {
        Path output = Path.of(args[0]);
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("tuvel typing sink (Swing)");
            JTextArea area = new JTextArea();
            frame.add(new JScrollPane(area));
            frame.setBounds(40, 420, 600, 300);
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            writeWhole(output, "");
            // One write once the queued input is handled, not one per keystroke.
            boolean[] pending = {false};
            Runnable changed = () -> {
                if (pending[0])
                    return;
                pending[0] = true;
                SwingUtilities.invokeLater(() -> {
                    pending[0] = false;
                    writeWhole(output, area.getText());
                });
            };
            area.getDocument().addDocumentListener(new DocumentListener() {
                public void insertUpdate(DocumentEvent e) { changed.run(); }
                public void removeUpdate(DocumentEvent e) { changed.run(); }
                public void changedUpdate(DocumentEvent e) { changed.run(); }
            });
            frame.setVisible(true);
            // Ready once the window is active and the text area has the focus.
            Timer readiness = new Timer(50, null);
            readiness.addActionListener(e -> {
                if (frame.isActive() && KeyboardFocusManager.getCurrentKeyboardFocusManager().getFocusOwner() == area) {
                    writeWhole(Path.of(output + ".ready"), "ready");
                    readiness.stop();
                    return;
                }
                frame.toFront();
                area.requestFocusInWindow();
            });
            readiness.start();
        });
    }
}
